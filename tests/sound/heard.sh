#!/usr/bin/env bash
# Whether every sound is heard every time through a real sound server: starts a private
# PulseAudio server whose only output is a pipe, plays each sound N times (20 unless given)
# through the program's sound module, and counts the runs whose samples reached the pipe.
#
#   tests/sound/heard.sh BUILD-DIR [N]
#
# Needs Debian's pulseaudio and pulseaudio-utils; run by hand, not in CI.
set -u
build=${1:?usage: heard.sh BUILD-DIR [N]}; n=${2:-20}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
player=$build/tests/play_once module=$build/realtopia-sound.so
for file in "$player" "$module"; do
  [ -x "$file" ] || [ -f "$file" ] || { echo "heard.sh: $file is missing: build the program first" >&2; exit 2; }
done
command -v pulseaudio >/dev/null || { echo "heard.sh: pulseaudio is missing (apt-get install -y pulseaudio pulseaudio-utils)" >&2; exit 2; }

work=$(mktemp -d); trap 'pulseaudio --kill 2>/dev/null; kill $reader 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work HOME=$work
mkfifo "$work/out"
pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load=module-native-protocol-unix \
  --load="module-pipe-sink file=$work/out sink_name=pipe format=s16le rate=44100 channels=2" \
  2>/dev/null
cat "$work/out" >"$work/out.pcm" & reader=$!
sleep 0.5

# The loudest sample that reached the pipe since it was emptied.
peak() {
  python3 -c "import array,sys; a=array.array('h', open(sys.argv[1],'rb').read()); print(max(map(abs,a)) if a else 0)" "$work/out.pcm"
}

failed=0
for sound in CLICK MEEPMEEP GAMEOVER; do
  heard=0
  for _ in $(seq "$n"); do
    : >"$work/out.pcm"
    "$player" "$module" "$source_dir/resources/WAVEFILE/$sound.wav" || exit 2
    sleep 0.4
    [ "$(peak)" -gt 1000 ] && heard=$((heard + 1))
  done
  echo "$sound: heard $heard of $n"
  [ "$heard" -eq "$n" ] || failed=1
done
exit $failed
