#!/usr/bin/env bash
# The long run: the device-data window's session polls the emulator for MINUTES (default 10)
# over a line that drops one block reply in 50 and garbles another, then prints polls, errors
# shown and the process's memory at the start and the end. Usage: scripts/longrun.sh [MINUTES]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVAN_BUILD_BENCH=ON -DORVAN_BUILD_GUI=OFF \
      -DORVAN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target longrun_poll >/dev/null
exec "$build/bin/longrun_poll" "${1:-10}"
