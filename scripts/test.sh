#!/usr/bin/env bash
# Builds OrvanLog and runs every test; then runs the tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every fuzz target for 15 s when clang is installed.
# Usage: scripts/test.sh [--no-sanitizers]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs" --timeout 300)
echo "== The Debian package, checked, unpacked and run as a user =="
tests/install/package_test.sh build-test

if [ "${1:-}" != "--no-sanitizers" ]; then
  echo "== Tests again under AddressSanitizer and UndefinedBehaviorSanitizer =="
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORVAN_SANITIZE=ON >/dev/null
  cmake --build build-asan -j"$jobs"
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 600)
fi

if command -v clang++ >/dev/null; then
  echo "== Fuzz targets, 15 s each =="
  scripts/fuzz.sh 15
else
  echo "== Fuzz targets not run: clang++ is not installed =="
fi
