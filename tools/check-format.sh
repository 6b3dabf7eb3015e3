#!/usr/bin/env bash
# Fails when a tracked C++ file differs from the layout of .clang-format (clang-format 14 of
# Debian 12). Lists the files that differ; `clang-format -i FILE` rewrites one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null 2>&1; then
    echo "check-format: $formatter is not installed (tools/setup-deps.sh installs it)" >&2
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t sources < <(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) \
        -type f -print | sed 's|^\./||' | sort)
fi
differing=()
for file in "${sources[@]}"; do
    if ! "$formatter" --dry-run -Werror "$file" >/dev/null 2>&1; then
        differing+=("$file")
    fi
done
if [[ ${#differing[@]} -gt 0 ]]; then
    echo "check-format: ${#differing[@]} file(s) differ from .clang-format:" >&2
    printf '  %s\n' "${differing[@]}" >&2
    exit 1
fi
echo "check-format: ${#sources[@]} files follow .clang-format"
