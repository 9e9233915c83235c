#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60), one after the
# other, then prints executions and findings per target. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
# New inputs go to build-fuzz/corpus/<target>/; the seeds in fuzz/corpus/<target>/ are only read.
# A finding (crash, leak, time-out, memory blow-up) is kept in build-fuzz/findings/<target>/:
# reproduce it with build-fuzz/bin/<target> <file>. Exits 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_record fuzz_settings fuzz_link fuzz_splitter)

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, the fuzz targets are not built"
  exit 0
fi

build=build-fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVAN_FUZZ=ON \
        -DORVAN_BUILD_GUI=OFF -DORVAN_BUILD_TESTS=OFF -DORVAN_PCH=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null

# Leaks are looked for by the long run; a leak check after every input costs seconds with Qt.
# Allocation stacks are not recorded while fuzzing (a fifth of a record's execution): rerunning
# a finding with the binary alone prints them.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:malloc_context_size=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

summary=()
status=0
for t in "${targets[@]}"; do
  work=$build/corpus/$t
  findings=$build/findings/$t
  mkdir -p "$work" "$findings"
  before=$(find "$findings" -type f | wc -l)
  log=$build/$t.log
  # Records reach 67001 bytes and beyond; the others stay short.
  max_len=4096
  [ "$t" = fuzz_record ] && max_len=70000
  # A record's execution costs in proportion to its samples: quick inputs get more of the time.
  "$build/bin/$t" "$work" "fuzz/corpus/$t" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 \
      -rss_limit_mb=3072 -entropic_scale_per_exec_time=1 -artifact_prefix="$findings/" -print_final_stats=1 \
      >"$log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  [ "$found" -eq 0 ] || status=1
  summary+=("$(printf '%-14s %12s executions  %3d findings  (%s)' "$t" "${runs:-?}" "$found" "$log")")
done

echo "== Fuzzing, ${seconds} s per target =="
printf '%s\n' "${summary[@]}"
exit $status
