#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UBSan, and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-deps.sh"
build="$root/build-test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DPLANORA_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 900
"$root/tools/check-release-reader.sh" "$build"
