#!/usr/bin/env bash
# Fuzz campaign: scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Builds the fuzz build (build-fuzz/: clang, -O1 -g, ASan + UBSan, libFuzzer),
# then runs each target in turn for SECONDS (default 60) from its seed corpus
# tests/fuzz/corpus/<target>/ with its dictionary. New inputs go to
# ${XDG_CACHE_HOME:-~/.cache}/varno-fuzz/<target>/ (kept between campaigns,
# never in the repository), crashing inputs to .../artifacts/<target>/, each
# run's log to .../logs/<target>.log. Prints per target the inputs run, inputs
# a second (wall clock and per CPU second), the coverage reached and any crash
# with the command that reproduces it. Targets run one after the other at low
# priority (FUZZ_NICE, default 10). FUZZ_RUNS=N also stops a target after N
# inputs, whichever comes first. Exits non-zero when a target failed.
#
# TARGET is a name such as fuzz_scn_oob or scn_oob; default: every target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=60
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
max_len=20000  # above the demo's largest file (MAIN.OOB)

build=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake --preset fuzz "${launcher[@]}" >/dev/null
nice ninja -C "$build" -j"${FUZZ_JOBS:-2}" fuzzers >/dev/null

bindir=$root/$build/tests/fuzz
targets=()
if [[ $# -eq 0 ]]; then
  for f in "$bindir"/fuzz_*; do
    [[ -x $f && -f $f ]] && targets+=("$(basename "$f")")
  done
else
  for t in "$@"; do
    [[ $t == fuzz_* ]] || t=fuzz_$t
    [[ -x $bindir/$t ]] || { echo "No fuzz target $t in $bindir" >&2; exit 2; }
    targets+=("$t")
  done
fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/varno-fuzz
mkdir -p "$cache/logs"
# Campaign speed: no allocation stacks and a small quarantine (a use after
# free is still caught within the input). The reproduce command runs without
# these, with full reports.
export ASAN_OPTIONS=${FUZZ_ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=16:detect_leaks=1}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
printf '%-20s %12s %10s %10s %7s %8s %s\n' target inputs "inputs/s" "per CPU s" cov features result
for t in "${targets[@]}"; do
  corpus=$cache/$t
  artifacts=$cache/artifacts/$t/
  log=$cache/logs/$t.log
  mkdir -p "$corpus" "$artifacts"
  seeds=$root/tests/fuzz/corpus/$t
  dict=$root/tests/fuzz/corpus/$t.dict
  args=(-max_total_time="$seconds" -max_len=$max_len -timeout=10 -print_final_stats=1
        -artifact_prefix="$artifacts")
  [[ -f $dict ]] && args+=(-dict="$dict")
  [[ -n ${FUZZ_RUNS:-} ]] && args+=(-runs="$FUZZ_RUNS")
  dirs=("$corpus")
  [[ -d $seeds ]] && dirs+=("$seeds")

  before=$(ls "$artifacts" | wc -l)
  TIMEFORMAT='%U %S'
  status=0
  { time nice -n "${FUZZ_NICE:-10}" "$bindir/$t" "${args[@]}" "${dirs[@]}" >"$log" 2>&1 || status=$?; } 2>"$cache/logs/$t.time"
  read -r user sys <"$cache/logs/$t.time"

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  if [[ -z $runs ]]; then runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$last"); fi
  cpu_rate=$(awk -v n="${runs:-0}" -v u="$user" -v s="$sys" 'BEGIN { c = u + s; printf "%d", (c > 0 ? n / c : 0) }')

  result=clean
  if [[ $status -ne 0 ]]; then
    failed=1
    result="FAILED (exit $status)"
  fi
  printf '%-20s %12s %10s %10s %7s %8s %s\n' "$t" "${runs:-?}" "${rate:-?}" "$cpu_rate" "${cov:-?}" "${ft:-?}" "$result"
  if [[ $status -ne 0 ]]; then
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -3 | sed 's/^/    /'
    crash=$(ls -t "$artifacts" 2>/dev/null | head -1)
    if [[ $(ls "$artifacts" | wc -l) -gt $before && -n $crash ]]; then
      echo "    input:     $artifacts$crash"
      echo "    reproduce: $build/tests/fuzz/$t $artifacts$crash"
    fi
    echo "    log:       $log"
  fi
done
exit $failed
