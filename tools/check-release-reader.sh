#!/usr/bin/env bash
# The tests run the Access reader program of the sanitizer build, which uses the shared
# libraries; the program as built for use is linked statically. This builds that one (in
# build/, as tools/run-demo.sh does) and checks that it reads every Access file the same: the
# public sample files when they are there, and the demo hotel written in Access format.
# Usage: tools/check-release-reader.sh TEST_BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tested="$1/app/planora-mdbread"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANORA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target planora-mdbread >/dev/null
released="$build/app/planora-mdbread"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1/app/planora" demo "$work/demo" --format mdb >/dev/null
files=("$work"/demo/*.mdb)
if [[ -d "$root/../shared/fixtures/mdb" ]]; then
    mapfile -t -O "${#files[@]}" files < <(find "$root/../shared/fixtures/mdb" -name '*.mdb')
fi

# A reader reads only for the program that started it: sh starts it (not in its own place,
# hence the "true" after it) and passes its own pid.
readAll() {
    sh -c '"$1" --parent $$ --all -- "$2" 2>/dev/null; true' sh "$1" "$2" >"$3"
}
differ=0
for file in "${files[@]}"; do
    readAll "$tested" "$file" "$work/tested"
    readAll "$released" "$file" "$work/released"
    if [[ ! -s "$work/tested" ]] || ! cmp -s "$work/tested" "$work/released"; then
        echo "The reader as built for use reads $(basename "$file") differently" >&2
        differ=1
    fi
done
if [[ $differ -ne 0 ]]; then
    exit 1
fi
echo "check-release-reader: ${#files[@]} Access files read alike by both builds of the reader"
