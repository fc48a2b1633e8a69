#!/usr/bin/env bash
# The end of `make bench`: every target of the run, one a line with its ratio, and a non-zero
# exit status when one is not met.
# Usage: bench/summary.sh FILE   (the lines the benchmarks appended,
#   "what|ratio|range|target|met"; the range is how far the ratio moved within the run, "-"
#   for a single figure)
set -euo pipefail
file=${1:?usage: summary.sh FILE}
[ -s "$file" ] || { echo "summary.sh: no targets were measured" >&2; exit 1; }
echo
echo "Summary of the targets (ratio: the figure against its yardstick or target; range: within the run)"
awk -F'|' '{ printf "  %-44s ratio %6s  range %-11s  %-40s %s\n", $1, $2, $3, $4, $5 }' "$file"
if grep -q '|NOT MET$' "$file"; then
  echo "$(grep -c '|NOT MET$' "$file") of $(wc -l <"$file") targets NOT MET"
  exit 1
fi
echo "all $(wc -l <"$file") targets met"
