#!/usr/bin/env bash
# Builds OrvanLog and starts it. Without a real logger a KLV-100 emulator is started first on a
# pseudo-terminal and attached as COM9, so "Connect" finds a logger holding a finished mission.
# Usage: scripts/run.sh [--no-emulator]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVAN_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
bin=build/bin

emulator_pid=""
cleanup() {
  if [ -n "$emulator_pid" ]; then
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ "${1:-}" != "--no-emulator" ]; then
  mkdir -p "$bin/Puertos"
  : > "$bin/emulator.out"
  "$bin/klv-emulator" --scenario finished --samples 2400 --interval 15 --prepared "2024-03-01 10:00" \
      --delay 30 --exporter "FRUTAS SUR" --carrier "NAVIERA AZUL" --low 2 --high 8 --ignore-stdin \
      --alias-folder "$bin/Puertos" --com 9 > "$bin/emulator.out" 2> "$bin/emulator.log" &
  emulator_pid=$!
  for _ in $(seq 50); do [ -s "$bin/emulator.out" ] && break; sleep 0.1; done
  echo "KLV-100 emulator on $(head -n1 "$bin/emulator.out") as COM9 (press Connect in OrvanLog)"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting OrvanLog on a virtual screen (xvfb-run). Stop it with Ctrl+C."
  command -v xvfb-run >/dev/null || scripts/deps.sh test
  xvfb-run -a -s "-screen 0 1280x900x24" "$bin/orvanlog"
else
  "$bin/orvanlog"
fi
