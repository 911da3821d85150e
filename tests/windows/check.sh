#!/bin/sh
# The Windows program under Wine: the installation it makes and the recorded
# runs must be the very bytes the Linux build makes and leaves; then the real
# window on Xvfb: the intro ended by a key, the idle screen as the headless run
# draws it, EXIT by the mouse, the data folder in %LOCALAPPDATA% kept across
# runs, full screen, a message box.
set -eu
cd "$(dirname "$0")/../.."
top=$PWD
exe=$top/build/windows/pellax-rim.exe
work=$top/build/windows/check
export WINEPREFIX="$top/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -f "$exe" ] || fail "no $exe: run sh tools/windows.sh first"
x86_64-w64-mingw32-windres -i "$exe" -O rc | grep -q "Type: group icon" ||
    fail "the program carries no icon for Explorer"
rm -rf "$work"
mkdir -p "$work"

# One display for Xvfb, Wine and xdotool, there before Wine first starts.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"


# A prefix of our own, made once: Wine's X11 driver leaves the window alone
# (no window manager runs) and sound goes nowhere.
if [ ! -f "$WINEPREFIX/user.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null
    wineserver -w
fi

# The installation the program makes is the Linux build's, byte for byte.
wine "$exe" --make-root "$(winepath -w "$work/installation")" >/dev/null || fail "--make-root"
sh tools/installation_fingerprint.sh --check windows "$work/installation" ||
    fail "the installation is not the Linux build's"

# Recorded runs, every path given the Windows way, the root's name not ASCII.
for expected in tests/data/recorded/*/; do
    name=$(basename "$expected")
    dir="$work/recorded/$name"
    mkdir -p "$dir"
    cp "$expected/script.txt" "$dir/"
    (cd "$dir" && wine "$exe" --headless --root "$(winepath -w "$dir/räum")" \
        --script "$(winepath -w "$dir/script.txt")" --trace trace.jsonl) || fail "$name: exit code $?"
    for file in "$expected"*; do
        [ "$(basename "$file")" = script.txt ] && continue
        cmp -s "$file" "$dir/$(basename "$file")" || fail "$name: $(basename "$file") differs"
    done
    echo "recorded run $name: the same bytes as the Linux build's"
done

# The idle screen after the intro, drawn headless on a copy of ROOT.
headless_idle() {
    mkdir -p "$work/idle" && rm -rf "$work/idle/root"
    [ -d "$1" ] && cp -r "$1" "$work/idle/root"
    printf '100 keydown 195\n140 keyup 195\n1500 shot idle.png\n1600 close\n' >"$work/idle/script.txt"
    (cd "$work/idle" && wine "$exe" --headless --root root --script script.txt) || fail "headless idle"
    convert "$work/idle/idle.png" -filter point -resize 200% "$2"
}

start_game() {
    wine "$exe" --scale 2 "$@" >"$work/game.log" 2>&1 &
    game=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
    [ -n "$window" ] || fail "no window named $title"
    sleep 1
}
ended_with() {
    for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game" 2>/dev/null && fail "the program did not end"
    code=0
    wait "$game" || code=$?
    [ "$code" = "$1" ] || fail "exit code $code, not $1: $(cat "$work/game.log")"
}
# The window's client area (480 x 640 at scale 2) inside the frame Wine draws.
client_shot() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    border=$(((WIDTH - 480) / 2))
    top_edge=$((HEIGHT - 640 - border))
    import -window "$window" "$work/raw.png"
    convert "$work/raw.png" -crop "480x640+$border+$top_edge" +repage "$1"
}
same_picture() {
    differ=$(compare -metric AE "$1" "$2" null: 2>&1) || true
    [ "$differ" = 0 ] || fail "$3: $differ pixels differ ($1, $2)"
}
title="PELLAX RIM"
local_data=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')")/pellax-rim
rm -rf "$local_data"

# First run: the data folder is made; a key ends the intro; EXIT ends it.
start_game
xdotool windowfocus --sync "$window" key space
sleep 2
# P pauses; the key that ends the pause goes no further (it would start a game).
xdotool key p
sleep 0.5
[ "$(xdotool getwindowname "$window")" = "$title - Paused, press a key" ] || fail "P does not pause"
xdotool key space
sleep 1
# The idle screen again, which asks for a key.
[ "$(xdotool getwindowname "$window")" = "$title - Press a key" ] || fail "a key does not end the pause"
client_shot "$work/window-idle.png"
headless_idle none "$work/headless-idle.png"
same_picture "$work/window-idle.png" "$work/headless-idle.png" "the idle screen"
[ -f "$local_data/registry.reg" ] || fail "no installation in $local_data"
xdotool mousemove --window "$window" $((border + 400)) $((top_edge + 600)) click 1
ended_with 0
echo "window: intro ended by a key, pause, idle screen as headless, EXIT gives 0"

# A record set in that folder (a whole headless game) shows in the next run.
mkdir -p "$work/record"
(cd "$work/record" && wine "$exe" --headless --root "$(winepath -w "$local_data")" \
    --script "$(winepath -w "$top/tests/data/recorded/level_cleared/script.txt")") || fail "record run"
headless_idle "$local_data" "$work/headless-record.png"
# keys.conf beside it: Q plays b; F12 stays the screenshot's.
printf 'b = Q\nstart = F12\n' >"$local_data/keys.conf"
wine "$exe" --help | grep -q "^  b  *Q  *ends the intro" || fail "--help does not show keys.conf's keys"
start_game
grep -q "line 2: .F12. is the desktop's own key" "$work/game.log" || fail "keys.conf's line 2 taken"
xdotool windowfocus --sync "$window" key q
sleep 2
# The folder is this program's while it runs.
wine "$exe" --headless --root "$(winepath -w "$local_data")" --script "$(winepath -w "$work/idle/script.txt")" \
    2>"$work/second.log" && fail "a second program ran on the data folder"
grep -q "already running" "$work/second.log" || fail "a second start not refused: $(cat "$work/second.log")"
client_shot "$work/window-record.png"
same_picture "$work/window-record.png" "$work/headless-record.png" "the record kept"
# F11: the whole 1024 x 768 screen, the picture at scale 2 between bars.
xdotool key F11
sleep 1
import -window root "$work/raw.png"
convert "$work/raw.png" -crop 480x640+272+64 +repage "$work/full-screen.png"
same_picture "$work/full-screen.png" "$work/headless-record.png" "full screen"
xdotool key Escape
ended_with 0
grep -q "fullscreen = yes" "$local_data/settings.conf" || fail "full screen not kept"
rm "$local_data/settings.conf"
echo "window: the record and keys.conf in %LOCALAPPDATA%, full screen kept, Esc gives 0"

# A broken installation: the game's message is a real message box.
broken="$work/bröken"
wine "$exe" --make-root "$(winepath -w "$broken")" >/dev/null
rm "$broken/Windows/qzmmf.dll"
title='.\\Windows\\qzmmf.dll'
start_game --root "$(winepath -w "$broken")"
xdotool windowfocus --sync "$window" key Return
title="PELLAX RIM"
sleep 1
window=$(xdotool search --onlyvisible --name "^$title( - Press a key)?\$" | head -1)
[ -n "$window" ] || fail "the game's own message box left it paused or gone"
xdotool windowfocus --sync "$window" key Escape
ended_with 0
echo "window: a message box answered, Esc gives 0"

# Replays: a game played in this window verifies on Linux and here, and a
# game played in the SDL window on Linux (kept by tests/desktop/replay_check.sh)
# verifies here.
linux=$top/build/dev/pellax-rim
rm -rf "$local_data/replays" "$local_data/keys.conf"
start_game
xdotool windowfocus --sync "$window" key Return
sleep 1
xdotool key x
end=$(($(date +%s) + 20))
while [ "$(date +%s)" -lt "$end" ]; do
    xdotool key "$(shuf -n 1 -e Left Right Up Down space z x)"
    sleep "0.$(shuf -i 100-300 -n 1)"
done
xdotool key Escape
ended_with 0
replay=$(ls "$local_data"/replays/run-*.pxr | tail -1)
[ -f "$replay" ] || fail "the window's run left no replay"
wine "$exe" --verify "$(winepath -w "$replay")" | tr -d '\r' | tee "$work/verify.txt"
grep -q ': matches$' "$work/verify.txt" || fail "the window's replay does not verify in the program"
if [ -x "$linux" ]; then
    "$linux" --verify "$replay" | grep ': matches$' || fail "the window's replay does not verify on Linux"
fi
if [ -f "$top/build/dev/window-replay.pxr" ]; then
    wine "$exe" --verify "$(winepath -w "$top/build/dev/window-replay.pxr")" | tr -d '\r' |
        grep ': matches$' || fail "the SDL window's replay does not verify in the program"
fi
echo "replays: the window's game verifies here and on Linux, and the SDL window's here"
