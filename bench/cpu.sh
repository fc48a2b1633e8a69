#!/usr/bin/env bash
# CPU use of the desktop program on a virtual X display, in three states: the main window up
# before PLAY, a game running with the ticker at medium speed, and the same at fast speed.
# The keys are typed with xdotool, as a player would: Return (PLAY!), Return (I AGREE),
# Escape (PLAY), then Options > Scroller Speed > Fast.
# Usage: bench/cpu.sh BUILD_DIR [SECONDS]   (SECONDS per state, 20 by default)
# Screenshots of each state and of the speed menu are left in BUILD_DIR/bench/cpu-*.png.
set -euo pipefail

build=${1:?usage: cpu.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}
build=$(cd "$build" && pwd)
game=$build/realtopia
[ -x "$game" ] || { echo "cpu.sh: $game is missing; build the realtopia target" >&2; exit 1; }

# Everything below runs inside one virtual display, so xdotool reaches the program.
if [ -z "${REALTOPIA_CPU_DISPLAY:-}" ]; then
  for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "cpu.sh: $tool is not installed" >&2; exit 1; }
  done
  exec xvfb-run -a -s "-screen 0 1024x768x24" env REALTOPIA_CPU_DISPLAY=1 \
    bash "$0" "$build" "$seconds"
fi

data=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$data"
}
trap cleanup EXIT
export XDG_DATA_HOME=$data

"$game" >"$data/output.txt" 2>&1 &
pid=$!

# The display server started by xvfb-run, our sibling: it draws what the program sends.
server=$(pgrep -P "$PPID" Xvfb | head -n 1 || true)

# CPU time of a process in nanoseconds: the scheduler's run time of its threads. The 10-ms
# clock ticks of /proc/PID/stat are too coarse here: at 0.5 % of a core, 20 s are about ten
# ticks, each counted when one happens to fall while the program runs.
if [ -r "/proc/$$/schedstat" ]; then
  cpuNanos() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%.0f\n", n }'; }
else
  ticksPerSecond=$(getconf CLK_TCK)
  # utime + stime in clock ticks (fields 14 and 15; the name may hold spaces).
  cpuNanos() {
    sed 's/.*) //' "/proc/$1/stat" | awk -v hz="$ticksPerSecond" '{ printf "%.0f\n", ($12 + $13) * 1e9 / hz }'
  }
fi
serverNanos() { if [ -n "$server" ]; then cpuNanos "$server"; else echo 0; fi; }
now() { date +%s.%N; }

alive() {
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "cpu.sh: the program ended early:" >&2
    cat "$data/output.txt" >&2
    exit 1
  fi
}

# The visible top-level window of the program that is newest (the one just shown).
focusNewest() {
  local window
  window=$(xdotool search --onlyvisible --pid "$pid" --name 'Realtopia' 2>/dev/null | tail -n 1)
  if [ -n "$window" ]; then xdotool windowfocus --sync "$window" 2>/dev/null || true; fi
}

screenshot() {
  if command -v import >/dev/null; then
    import -window root "$build/bench/cpu-$1.png" 2>/dev/null || true
  fi
}

# Wake-ups: every time a thread of the process sleeps again after something woke it counts
# one voluntary context switch, summed over its threads.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}

# One state: CPU time over SECONDS of wall time, as a share of one core, against the target
# CPU_TARGET (%), and the wake-ups per second, against WAKEUP_TARGET when one is given; the
# display server's share is shown beside it, without a target.
sample() {
  local label=$1 cpuTarget=$3 wakeupTarget=${4:-} span=${5:-$seconds} t0 c0 s0 w0 t1 c1 s1 w1
  alive
  t0=$(now) c0=$(cpuNanos "$pid") s0=$(serverNanos) w0=$(switches "$pid")
  sleep "$span"
  alive
  t1=$(now) c1=$(cpuNanos "$pid") s1=$(serverNanos) w1=$(switches "$pid")
  screenshot "$2"
  awk -v l="$label" -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v w="$((w1 - w0))" \
      -v t0="$t0" -v t1="$t1" -v ct="$cpuTarget" -v wt="$wakeupTarget" \
      -v summary="${REALTOPIA_BENCH_SUMMARY:-}" 'BEGIN {
    p = 100 * c / 1e9 / (t1 - t0)
    x = 100 * s / 1e9 / (t1 - t0)
    r = w / (t1 - t0)
    met = p <= ct ? "met" : "NOT MET"
    printf "%-30s %6.2f %% of one core   target <= %.1f %%  %-8s (X server %.2f %%)\n",
           l, p, ct, met, x
    if (summary != "") printf "CPU use, %s|%.2f|-|figure / limit (<= %.1f %%, CPU time)|%s\n", l, p / ct, ct, met >>summary
    if (wt == "") {
      printf "%-30s %6.1f /s             (no target)\n", "  wake-ups", r
    } else {
      wmet = r <= wt ? "met" : "NOT MET"
      printf "%-30s %6.1f /s             target <= %d /s  %s\n", "  wake-ups", r, wt, wmet
      if (summary != "") printf "wake-ups, %s|%.2f|-|figure / limit (<= %d /s)|%s\n", l, r / wt, wt, wmet >>summary
    }
  }'
}

# The splash.
for _ in $(seq 100); do
  alive
  xdotool search --onlyvisible --pid "$pid" --name 'Realtopia' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
focusNewest
xdotool key Return  # PLAY!
sleep 1
focusNewest
xdotool key Return  # I AGREE
sleep 2
focusNewest
screenshot 0-main-window
sleep 1

echo "CPU use on a virtual X display, $seconds s per state (before PLAY: whole repeats of 9 s)"
# Before PLAY the ticker's pass repeats every 9 s (three ticks of the 3-s clock: the text
# enters for 4.3 s, is held for 3 s, runs out, and waits for the next tick), so the state is
# measured over whole repeats: a part of one would count more or less scrolling by chance.
sample "main window before PLAY" 1-before-play 0.5 40 $(((seconds + 8) / 9 * 9))
xdotool key Escape  # PLAY: the game starts, the ticker at medium speed
sleep 2
sample "game running, ticker medium" 2-medium 1
xdotool key alt+o
sleep 0.5
xdotool key c
sleep 0.5
screenshot 3-speed-menu
xdotool key f
sleep 2
sample "game running, ticker fast" 4-fast 1
# The menu once more, to show that Fast is the speed checked now.
xdotool key alt+o
sleep 0.5
xdotool key c
sleep 0.5
screenshot 5-speed-checked
