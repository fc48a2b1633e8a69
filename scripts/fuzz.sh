#!/usr/bin/env bash
# Builds the four libFuzzer targets with clang and runs each for FUZZ_SECONDS (default 600)
# on a copy of its seed corpus. Usage: scripts/fuzz.sh [hisc|ini|marquee|savedgame ...]
set -euo pipefail
cd "$(dirname "$0")/.."

CXX=${FUZZ_CXX:-$(command -v clang++-14 || command -v clang++)}
SECONDS_EACH=${FUZZ_SECONDS:-600}
OUT=${FUZZ_OUT:-build-fuzz}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(hisc ini marquee savedgame)
mkdir -p "$OUT"

flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I. -Itests)
engine=(engine/*.cpp)
for t in "${targets[@]}"; do
    extra=()
    [ "$t" = marquee ] && extra=(ui/TMarquee.cpp)
    echo "== building $t"
    "$CXX" "${flags[@]}" "tests/fuzz/${t}_fuzz.cpp" "${engine[@]}" "${extra[@]}" -o "$OUT/${t}_fuzz"
    rm -rf "$OUT/corpus-$t" && cp -r "tests/fuzz/corpus/$t" "$OUT/corpus-$t"
    echo "== running $t for ${SECONDS_EACH}s"
    "$OUT/${t}_fuzz" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
        -max_len=65536 "$OUT/corpus-$t" 2>&1 | tail -n 15
done
