#!/usr/bin/env bash
# Sets up and builds Planora, writes the demo hotel into demo-hotel/ and runs the main job on it:
# the main window when a display is available, otherwise today's board of the first hotel,
# printed to the terminal.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANORA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target planora
planora="$build/app/planora"
data="$root/demo-hotel"
"$planora" demo "$data" --force >/dev/null
cd "$data"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec "$planora"
fi
today=$(date +%d/%m/%Y)
board=$("$planora" board --hotel 1 --tableau 1 --from 1 --to 9999 --date "$today" --show)
echo "$board"
echo
echo "No display here: this is today's board of hotel 1. With a display, run '$planora' in $data to open the main window."
