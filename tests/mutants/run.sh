#!/usr/bin/env bash
# Applies each fault of faults.txt in turn to a source tree, builds the test programs of its scope,
# runs their tests until the first failure and puts the source back. Prints and writes a table of
# caught / missed / build-broken faults.
#
#   tests/mutants/run.sh [--src DIR] [--build DIR] [--label NAME] [--only IDS|REGEX]
#                        [--jobs N] [--timeout SECONDS] [--check] [--in-place]
#
#   --src DIR       source tree to mutate (default: the tree this script lies in). Use a worktree of
#                   your own: git worktree add ../mut HEAD && ../mut/tests/mutants/run.sh
#   --build DIR     plain build folder, configured on first use (default: SRC/build-mut)
#   --label NAME    results go to results-NAME.txt beside this script (default: the date)
#   --only SEL      comma-separated ids, or a regex of ids
#   --jobs N        build and test jobs (default 2)
#   --timeout S     per-test time-out (default 120)
#   --check         only check that each fault's text occurs exactly once in SRC (with --only: those)
#   --in-place      allow mutating the main checkout (others' builds and commits would see faults)
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
list="$here/faults.txt"
src=""
build=""
label="$(date +%Y%m%d-%H%M)"
only=""
jobs=2
timeout=120
check_only=0
in_place=0

usage() { sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
while [ $# -gt 0 ]; do
  case "$1" in
    --src) src="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    --label) label="$2"; shift 2 ;;
    --only) only="$2"; shift 2 ;;
    --jobs) jobs="$2"; shift 2 ;;
    --timeout) timeout="$2"; shift 2 ;;
    --check) check_only=1; shift ;;
    --in-place) in_place=1; shift ;;
    -h|--help) usage ;;
    *) echo "run.sh: unknown argument $1" >&2; usage ;;
  esac
done

[ -n "$src" ] || src="$(git -C "$here" rev-parse --show-toplevel)"
src="$(cd "$src" && pwd)"
[ -n "$build" ] || build="$src/build-mut"
faults() { python3 "$here/faults.py" "$@"; }

if [ "$check_only" = 1 ]; then
  faults "$list" check "$src" "$only"
  exit $?
fi

# A fault in the shared checkout would reach everyone's builds and commits.
if [ "$in_place" = 0 ] && [ "$(git -C "$src" rev-parse --path-format=absolute --git-dir)" = \
     "$(git -C "$src" rev-parse --path-format=absolute --git-common-dir)" ]; then
  echo "run.sh: $src is the main checkout; run in a worktree of your own (git worktree add ../mut HEAD)" >&2
  echo "        and pass --src, or add --in-place when nobody else uses this checkout" >&2
  exit 2
fi

faults "$list" check "$src" "$only" >/dev/null || { faults "$list" check "$src" "$only"; exit 1; }
mapfile -t ids < <(faults "$list" ids "$only")
[ "${#ids[@]}" -gt 0 ] || { echo "run.sh: no fault matches '$only'" >&2; exit 2; }

logs="$build/mutants-logs"
backup="$build/mutants-original"
current_file=""
restore() {
  if [ -n "$current_file" ] && [ -f "$backup" ]; then
    # Copied back with a fresh time stamp, so that the next build compiles the original again.
    cp "$backup" "$src/$current_file" && rm -f "$backup"
    current_file=""
  fi
}
trap restore EXIT
trap 'echo; echo "run.sh: interrupted; source restored" >&2; exit 130' INT TERM HUP

if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  # A fault in a header recompiles half the tree twice (in, then out); a compiler cache makes the
  # second time a look-up.
  command -v ccache >/dev/null && generator+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$src" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DORVAN_SANITIZE=OFF \
    -DORVAN_FUZZ=OFF -DORVAN_BUILD_TESTS=ON >/dev/null || exit 1
fi
mkdir -p "$logs"
echo "run.sh: building $build before the first fault"
cmake --build "$build" -j "$jobs" >"$logs/initial-build.log" 2>&1 \
  || { echo "run.sh: the unmodified tree does not build; see $logs/initial-build.log" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen
ctest_run() {   # ctest numbers (comma-separated) and an output file; 0 when all passed
  ctest --test-dir "$build" -I "0,0,0,$1" --stop-on-failure --timeout "$timeout" -j "$jobs" \
    --output-on-failure >"$2" 2>&1
}
flaky=()
# Runs the given tests until one fails twice in a row (0, the fault is caught: $by names the test)
# or all pass (1). A test that fails once and passes on its own is noted as flaky and the rest run
# on: on a loaded machine a timing-bound test must not count as catching a fault.
catches() {
  local pending="$1" out="$logs/ctest.out" number name passed
  while [ -n "$pending" ]; do
    ctest_run "$pending" "$out"
    local rc=$?
    cat "$out" >>"$log"
    [ $rc -eq 0 ] && return 1
    number="$(sed -n -E 's/^[[:space:]]*([0-9]+) - .*\((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception|Child aborted|ILLEGAL|BUS error|OTHER_FAULT|Interrupt)[^)]*\).*/\1/p' "$out" | head -1)"
    if [ -z "$number" ]; then
      by="(ctest exit $rc; see $log)"
      return 0
    fi
    name="$(sed -n -E "s/^[[:space:]]*$number - ([^ ]+) .*/\1/p" "$out" | head -1)"
    echo "--- again: $name" >>"$log"
    if ! ctest_run "$number" "$out"; then
      cat "$out" >>"$log"
      by="$name"
      return 0
    fi
    cat "$out" >>"$log"
    flaky+=("$id: $name")
    passed="$(sed -n -E 's/^[[:space:]]*[0-9]+\/[0-9]+ Test +#([0-9]+): .* Passed .*/\1/p' "$log" | tr '\n' ' ')"
    pending="$(tr ',' '\n' <<<"$pending" | awk -v drop="$number $passed" \
      'BEGIN { n = split(drop, d, " "); for (i = 1; i <= n; i++) skip[d[i]] = 1 } !($0 in skip)' | paste -sd, -)"
  done
  return 1
}

results="$here/results-$label.txt"
rows=()
caught=0 missed=0 broken=0 stale=0
started=$(date +%s)
for id in "${ids[@]}"; do
  file="$(faults "$list" field "$id" file)"
  scope="$(faults "$list" field "$id" scope)"
  first="$(faults "$list" field "$id" first)"
  log="$logs/$id.log"
  : >"$log"
  t0=$(date +%s)
  current_file="$file"
  if ! faults "$list" apply "$id" "$src" "$backup" >>"$log" 2>&1; then
    current_file=""
    result="stale" by="original text not found once"
    stale=$((stale + 1))
  else
    read -r -a targets <<<"$(faults targets "$build" "$scope")"
    if ! cmake --build "$build" -j "$jobs" --target "${targets[@]}" >>"$log" 2>&1; then
      result="build-broken" by="see $log"
      broken=$((broken + 1))
    else
      IFS=$'\t' read -r early rest <<<"$(faults tests "$build" "$scope" "$first")"
      if catches "$early" || catches "$rest"; then
        result="caught"
        caught=$((caught + 1))
      else
        result="missed" by="-"
        missed=$((missed + 1))
      fi
    fi
    restore
  fi
  seconds=$(($(date +%s) - t0))
  row="$(printf '%-36s %-12s %5ss  %s' "$id" "$result" "$seconds" "$by")"
  rows+=("$row")
  echo "$row"
done
elapsed=$(($(date +%s) - started))

{
  echo "Fault list results: $label"
  echo "source   $(git -C "$src" log -1 --format='%h %s' | cut -c1-90)"
  echo "build    $build ($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt"), $jobs jobs, time-out ${timeout}s per test)"
  echo "machine  $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg) at the end"
  echo "run      $(date -u +%Y-%m-%dT%H:%MZ), $((elapsed / 60)) min $((elapsed % 60)) s for ${#ids[@]} faults"
  echo "result   caught $caught, missed $missed, build-broken $broken, stale $stale of ${#ids[@]}"
  if [ "${#flaky[@]}" -gt 0 ]; then
    echo "flaky    failed once, passed when run again (not counted as catching):"
    printf '           %s\n' "${flaky[@]}"
  fi
  echo
  printf '%-36s %-12s %6s  %s\n' "fault" "result" "time" "first failing test"
  printf '%s\n' "${rows[@]}"
} >"$results"
echo
echo "caught $caught, missed $missed, build-broken $broken, stale $stale of ${#ids[@]} in $((elapsed / 60)) min; table in $results"
