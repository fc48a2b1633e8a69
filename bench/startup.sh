#!/usr/bin/env bash
# Start-up of the desktop program against the smallest Qt Widgets programs (bench/baseline.cpp),
# run alternately so both see the same machine load, on a virtual X display when xvfb-run is
# there (else off the screen):
#  - the normal start: the CPU time to the splash's first drawing and the peak memory then,
#    against a bare QMainWindow of 722 × 534 drawn once (REALTOPIA_QUIT_AFTER_FIRST_PAINT makes
#    both end right after that drawing);
#  - the wake-ups per second with the splash up and no input, beside the bare window's;
#  - `realtopia --self-test` against a window that quits once it is drawn, in CPU time.
# Runs of the two programs are paired, one of each in turn; a time's figure is the median of
# the pairs' ratios, printed with the middle half of them (the range), so that a load that
# comes and goes during the run moves both sides of a pair alike.
# Usage: bench/startup.sh BUILD_DIR [RUNS] [SECONDS]
#   RUNS: rounds of each comparison, 31 by default, at least 10
#   SECONDS: how long the wake-ups are counted, 10 by default
# REALTOPIA_GAME=PATH measures another build of the program (an earlier one, say) instead.
set -euo pipefail

build=${1:?usage: startup.sh BUILD_DIR [RUNS] [SECONDS]}
runs=${2:-31}
seconds=${3:-10}
[ "$runs" -ge 10 ] || runs=10
build=$(cd "$build" && pwd)
measure=$build/bench/measure
game=${REALTOPIA_GAME:-$build/realtopia}
baseline=$build/bench/baseline
for f in "$measure" "$game" "$baseline"; do
  [ -x "$f" ] || { echo "startup.sh: $f is missing; build the benchmarks target" >&2; exit 1; }
done

if [ -z "${REALTOPIA_STARTUP_DISPLAY:-}" ]; then
  if command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env REALTOPIA_STARTUP_DISPLAY=xvfb \
      bash "$0" "$build" "$runs" "$seconds"
  fi
  export REALTOPIA_STARTUP_DISPLAY=offscreen QT_QPA_PLATFORM=offscreen
fi

data=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$data"
}
trap cleanup EXIT
mkdir -m 700 "$data/runtime"
export XDG_DATA_HOME=$data/share XDG_RUNTIME_DIR=$data/runtime

# "wall-seconds KiB cpu-seconds" of one run. The toolkit's notes on stderr are kept out of
# the report; a failing run shows them and stops the comparison.
one() {
  local line seconds kib code cpu
  line=$("$measure" "$@" 2>"$data/stderr")
  read -r seconds kib code cpu <<<"$line"
  if [ "$code" != 0 ]; then
    echo "startup.sh: $* ended with status $code" >&2
    cat "$data/stderr" >&2
    exit 1
  fi
  echo "$seconds $kib $cpu"
}

median() {
  sort -g | awk '{ v[NR] = $1 }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
column() { printf '%s\n' "${@:2}" | awk -v c="$1" '{ print $c }' | median; }

# The median and the quartiles of the ratios of column `c` of paired runs ("a|b" lines):
# "median low high".
pairedRatio() {
  local c=$1
  shift
  printf '%s\n' "$@" | awk -F'|' -v c="$c" '{ split($1, g, " "); split($2, b, " "); print g[c] / b[c] }' |
    sort -g | awk '{ v[NR] = $1 }
      function q(p,   i) { i = 1 + p * (NR - 1); return v[int(i)] + (i - int(i)) * (v[int(i) + 1] - v[int(i)]) }
      END { printf "%.4f %.4f %.4f\n", q(0.5), q(0.25), q(0.75) }'
}

# Runs "game command" and "baseline command" alternately, each once unmeasured first (it
# fills the font and file caches), and sets the medians gT gM gC and bT bM bC and the paired
# ratios of wall time (rT, with its quartiles rTlo rThi) and CPU time (rC rClo rChi).
compare() {
  local -a gameCommand baseCommand gameRuns=() baseRuns=()
  IFS=' ' read -r -a gameCommand <<<"$1"
  IFS=' ' read -r -a baseCommand <<<"$2"
  one "${gameCommand[@]}" >/dev/null
  one "${baseCommand[@]}" >/dev/null
  for ((i = 0; i < runs; i++)); do
    gameRuns+=("$(one "${gameCommand[@]}")")
    baseRuns+=("$(one "${baseCommand[@]}")")
  done
  gT=$(column 1 "${gameRuns[@]}") gM=$(column 2 "${gameRuns[@]}") gC=$(column 3 "${gameRuns[@]}")
  bT=$(column 1 "${baseRuns[@]}") bM=$(column 2 "${baseRuns[@]}") bC=$(column 3 "${baseRuns[@]}")
  local -a pairs=()
  for ((i = 0; i < runs; i++)); do pairs+=("${gameRuns[i]}|${baseRuns[i]}"); done
  read -r rT rTlo rThi <<<"$(pairedRatio 1 "${pairs[@]}")"
  read -r rC rClo rChi <<<"$(pairedRatio 3 "${pairs[@]}")"
}

echo "start-up, median of $runs alternating runs each ($REALTOPIA_STARTUP_DISPLAY display," \
     "load average $(cut -d' ' -f1-3 /proc/loadavg))"

compare "env REALTOPIA_QUIT_AFTER_FIRST_PAINT=1 $game" \
        "env REALTOPIA_QUIT_AFTER_FIRST_PAINT=1 $baseline --main-window"
awk -v gt="$gT" -v bt="$bT" -v gm="$gM" -v bm="$bM" -v gc="$gC" -v bc="$bC" \
    -v rt="$rT" -v rtlo="$rTlo" -v rthi="$rThi" -v rc="$rC" -v rclo="$rClo" -v rchi="$rChi" \
    -v summary="${REALTOPIA_BENCH_SUMMARY:-}" 'BEGIN {
  # Judged on CPU time: on a busy machine the wall times of two short programs wander by a
  # third from one run to the next even as paired medians, their CPU times by a few per cent.
  timeMet = rc <= 1.15 ? "met" : "NOT MET"
  memMet = gm / 1024 <= bm / 1024 + 3 ? "met" : "NOT MET"
  printf "%-30s %8.1f ms   bare window %8.1f ms    paired ratio %5.2f (%.2f-%.2f)   target <= 1.15   %s\n",
         "splash first drawn, CPU", gc * 1000, bc * 1000, rc, rclo, rchi, timeMet
  printf "%-30s %8.1f MiB  bare window %8.1f MiB   ratio %5.2f   target < %.1f MiB (+3 MiB)   %s\n",
         "peak memory then", gm / 1024, bm / 1024, gm / bm, bm / 1024 + 3, memMet
  if (summary != "") {
    printf "start-up: splash first drawn|%.2f|%.2f-%.2f|<= 1.15 (paired runs, CPU)|%s\n",
           rc, rclo, rchi, timeMet >>summary
    printf "start-up: peak memory then|%.2f|-|<= bare window + 3 MiB (+%.1f MiB)|%s\n",
           gm / bm, (gm - bm) / 1024, memMet >>summary
  }
  printf "%-30s %8.1f ms   bare window %8.1f ms    paired ratio %5.2f (%.2f-%.2f)   (no target)\n",
         "  its wall time", gt * 1000, bt * 1000, rt, rtlo, rthi
}'

compare "$game --self-test" "$baseline"
awk -v gt="$gT" -v bt="$bT" -v gm="$gM" -v bm="$bM" -v gc="$gC" -v bc="$bC" \
    -v rt="$rT" -v rtlo="$rTlo" -v rthi="$rThi" -v rc="$rC" -v rclo="$rClo" -v rchi="$rChi" \
    -v summary="${REALTOPIA_BENCH_SUMMARY:-}" 'BEGIN {
  met = rc <= 2 ? "met" : "NOT MET"
  printf "%-30s %8.1f ms   baseline    %8.1f ms    paired ratio %5.2f (%.2f-%.2f)   target <= 2.0   %s\n",
         "self-test CPU time", gc * 1000, bc * 1000, rc, rclo, rchi, met
  if (summary != "")
    printf "start-up: --self-test CPU time|%.2f|%.2f-%.2f|<= 2.00 (baseline drawn once, CPU)|%s\n",
           rc, rclo, rchi, met >>summary
  printf "%-30s %8.1f ms   baseline    %8.1f ms    paired ratio %5.2f (%.2f-%.2f)   (no target)\n",
         "self-test wall time", gt * 1000, bt * 1000, rt, rtlo, rthi
  printf "%-30s %8.1f MiB  baseline    %8.1f MiB   ratio %5.2f   (no target)\n",
         "self-test peak memory", gm / 1024, bm / 1024, gm / bm
}'

# Wake-ups: every time a thread of the process sleeps again after something woke it counts
# one voluntary context switch; summed over its threads while nobody touches it.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
wakeups() {
  "$@" >/dev/null 2>&1 &
  local pid=$! before after
  pids+=("$pid")
  sleep 3  # on the screen, and whatever follows the first drawing done
  kill -0 "$pid" 2>/dev/null || { echo "startup.sh: $* ended early" >&2; exit 1; }
  before=$(switches "$pid")
  sleep "$seconds"
  after=$(switches "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v n="$((after - before))" -v s="$seconds" 'BEGIN { printf "%.1f", n / s }'
}
gameWakeups=$(wakeups "$game")
baseWakeups=$(wakeups "$baseline" --main-window)
awk -v g="$gameWakeups" -v b="$baseWakeups" -v s="$seconds" \
    -v summary="${REALTOPIA_BENCH_SUMMARY:-}" 'BEGIN {
  met = g == 0 ? "met" : "NOT MET"
  printf "%-30s %8.1f /s   bare window %8.1f /s    (over %d s)    target 0 /s                %s\n",
         "wake-ups, splash up", g, b, s, met
  if (summary != "")
    printf "start-up: wake-ups with the splash up|%.2f|-|0 /s (bare window %.1f /s)|%s\n",
           g, b, met >>summary
}'
