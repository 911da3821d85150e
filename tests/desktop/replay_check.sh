#!/bin/sh
# A game played in the SDL window verifies headless from its replay: 20 s of
# random keys under Xvfb, then P, F12 (the screen as the game left it) and
# Esc. --verify must say the run matches, and the replay's last picture must
# be the screenshot, byte for byte.
# Usage: replay_check.sh PROGRAM [KEEP]  (KEEP: where to keep the replay, for
# the other systems' programs to verify)
set -eu
program=$(realpath "$1")
kept=${2:-}
dir=$(mktemp -d)
xserver=
cleanup() {
  [ -n "$xserver" ] && kill "$xserver" 2>/dev/null
  if [ "${keep:-}" = 1 ]; then echo "kept in $dir" >&2; else rm -rf "$dir"; fi
}
trap cleanup EXIT
keep=1
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
xserver=$!
for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$dir/display")" HOME="$dir" XDG_DATA_HOME="$dir/data" \
  XDG_CONFIG_HOME="$dir/config" SDL_AUDIODRIVER=dummy
mkdir -p "$dir/Pictures"
"$program" --root "$dir/root" 2>"$dir/stderr" &
game=$!
window=$(xdotool search --sync --name '^PELLAX RIM' | head -1)
xdotool windowfocus --sync "$window"
xdotool key Return
sleep 0.5
xdotool key X
end=$(($(date +%s) + 20))
while [ "$(date +%s)" -lt "$end" ]; do
  # shuf picks a game key and a gap of 30 to 300 ms. No drops: a game lost
  # in 20 s would end in its game-over pause, and the close that ends that
  # pause lets the game draw once more after the screenshot.
  key=$(shuf -n 1 -e Left Right Up z x Return)
  xdotool key "$key"
  sleep "0.$(shuf -i 30-300 -n 1 | awk '{printf "%03d", $1}')"
done
xdotool key p
sleep 0.3
xdotool key F12
sleep 0.3
xdotool key Escape
wait "$game"
replay=$(ls "$dir"/root/replays/run-*.pxr)
"$program" --verify "$replay" | tee "$dir/verify"
grep -q ': matches$' "$dir/verify"
printf '999999999 shot %s\n' "$dir/end.png" >"$dir/script"
"$program" --headless --replay "$replay" --script "$dir/script"
cmp "$dir/end.png" "$dir"/Pictures/pellax-rim*.png
[ -n "$kept" ] && cp "$replay" "$kept"
echo "the window's game replays and verifies ($(wc -c <"$replay") bytes): $(cat "$dir/verify")"
keep=0
