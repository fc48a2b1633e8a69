#!/usr/bin/env bash
# Start-up time and peak memory of `realtopia --self-test` against the smallest Qt Widgets
# program (bench/baseline.cpp), run alternately so both see the same machine load.
# Usage: bench/startup.sh BUILD_DIR [RUNS]   (RUNS defaults to 15, at least 10)
set -euo pipefail

build=${1:?usage: startup.sh BUILD_DIR [RUNS]}
runs=${2:-15}
[ "$runs" -ge 10 ] || runs=10
measure=$build/bench/measure
game=$build/realtopia
baseline=$build/bench/baseline
for f in "$measure" "$game" "$baseline"; do
  [ -x "$f" ] || { echo "startup.sh: $f is missing; build the benchmarks target" >&2; exit 1; }
done

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -m 700 "$data/runtime"
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$data/share XDG_RUNTIME_DIR=$data/runtime

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

# One run of each first, not counted: it fills the font and file caches.
one "$game" --self-test >/dev/null
one "$baseline" >/dev/null

gameRuns=() baseRuns=()
for ((i = 0; i < runs; i++)); do
  gameRuns+=("$(one "$game" --self-test)")
  baseRuns+=("$(one "$baseline")")
done

column() { printf '%s\n' "${@:2}" | awk -v c="$1" '{ print $c }' | median; }
gameTime=$(column 1 "${gameRuns[@]}")
baseTime=$(column 1 "${baseRuns[@]}")
gameMem=$(column 2 "${gameRuns[@]}")
baseMem=$(column 2 "${baseRuns[@]}")
gameCpu=$(column 3 "${gameRuns[@]}")
baseCpu=$(column 3 "${baseRuns[@]}")

echo "start-up, median of $runs runs each (QT_QPA_PLATFORM=offscreen)"
awk -v gt="$gameTime" -v bt="$baseTime" -v gm="$gameMem" -v bm="$baseMem" \
    -v gc="$gameCpu" -v bc="$baseCpu" 'BEGIN {
  timeTarget = 1.5 * bt
  memTarget = bm / 1024 + 20
  printf "%-28s %8.1f ms   baseline %8.1f ms    ratio %5.2f   target < %.1f ms (1.5 x)     %s\n",
         "self-test wall time", gt * 1000, bt * 1000, gt / bt, timeTarget * 1000,
         gt <= timeTarget ? "met" : "NOT MET"
  printf "%-28s %8.1f MiB  baseline %8.1f MiB   ratio %5.2f   target < %.1f MiB (+20 MiB) %s\n",
         "self-test peak memory", gm / 1024, bm / 1024, gm / bm, memTarget,
         gm / 1024 <= memTarget ? "met" : "NOT MET"
  printf "%-28s %8.1f ms   baseline %8.1f ms    ratio %5.2f   (no target)\n",
         "self-test CPU time", gc * 1000, bc * 1000, gc / bc
}'
