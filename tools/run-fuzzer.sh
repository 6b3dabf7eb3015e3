#!/bin/sh
# Builds the fuzzer of the SQL dialect with clang's libFuzzer and runs it for a bounded time.
#   tools/run-fuzzer.sh [seconds] [work folder]
# Exits 77 (a skip for CTest) when clang++ is not installed. New inputs go to the work folder,
# never into the seed corpus of the source tree; a failure leaves its input there as crash-*.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
work=${2:-$root/build-fuzz}
clang=${CLANGXX:-clang++}

if ! command -v "$clang" >/dev/null 2>&1; then
    echo "run-fuzzer: $clang is not installed, the fuzzer is skipped"
    exit 77
fi

mkdir -p "$work/corpus"
binary="$work/sql_fuzzer"
sources="$root/db/value.cpp $root/db/quote.cpp $(ls "$root"/db/sql_*.cpp)
         $root/messages/messages.cpp $root/messages/db_messages.cpp
         $root/tests/fuzz/sql_fuzzer.cpp"

# shellcheck disable=SC2086 # the source list is split on purpose
"$clang" -std=c++20 -g -O1 -I"$root" \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    $sources -o "$binary"

cd "$work"
# libFuzzer's own failure code is 77, which CTest would take for a skip.
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -error_exitcode=1 -timeout_exitcode=1 \
    -print_final_stats=1 -dict="$root/tests/fuzz/sql.dict" \
    "$work/corpus" "$root/tests/fuzz/corpus"
