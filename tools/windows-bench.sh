#!/usr/bin/env bash
# How quiet the Windows program is under Wine, held against pellax-floor.exe
# (bench/windows/floor.cpp): a bare Win32 program that shows a 240 x 320
# picture at 3x, 38 times a second, and does nothing else. One Wine session
# (a prefix of its own in a temporary folder, no sound driver) on Xvfb under
# openbox, three phases:
#   - the floor program;
#   - the game at its idle screen, the intro ended by Return;
#   - the game paused (P).
# For each: the program's share of one core and its context switches a
# second (voluntary and involuntary, all its threads, from /proc), and
# wineserver's over the same interval. The game's idle figures are judged as
# ratios to the floor's of the same run, so that what Wine and the X server
# cost any such program, and the machine's speed, cancel out; paused ones
# against fixed targets. Exits non-zero when a target is missed.
# PELLAX_BENCH_BUILD=DIR uses another Windows build folder than the preset's;
# PELLAX_BENCH_SECONDS sets the length of a phase (default 20).
set -euo pipefail

cd "$(dirname "$0")/.."
sh tools/deps.sh windows-check
if [ -z "${PELLAX_BENCH_BUILD:-}" ]; then
    # The Windows preset's folder, made first by tools/windows.sh as it is
    # for playing (the program's icon and all).
    [ -f build/windows/CMakeCache.txt ] || sh tools/windows.sh >/dev/null
    cmake --preset windows >/dev/null
    export PELLAX_BENCH_BUILD=$PWD/build/windows
fi
. tools/bench-common.sh
seconds=${PELLAX_BENCH_SECONDS:-20}
bench_build pellax-rim pellax-floor
game_exe=$build/pellax-rim.exe
floor_exe=$build/pellax-floor.exe
export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's processes end before the display they draw on.
trap 'wineserver -k 2>/dev/null || true; bench_cleanup' EXIT

# A screen on which the picture fits three times over, window frame and all.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$scratch/display")"
openbox >/dev/null 2>&1 &
pids+=($!)

# The prefix is made, then its server is let go: a program started while the
# setup's processes are still being shut down can hang. The server then
# started stays up for all three phases.
wineboot -i >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
wineserver -w
wineserver -p

# The Linux process that runs NAME (a pattern) in this prefix: the one whose
# first argument is a file of that name (not a launcher that names it
# later), with this WINEPREFIX, as another Wine may be running on the machine.
wine_pid() {
    local pid first
    for _ in $(seq 100); do
        for pid in $(pgrep -f -- "${1%\*}" || true); do
            first=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1) || continue
            # shellcheck disable=SC2053 # NAME is a pattern
            [[ ${first##*/} == $1 ]] || continue
            if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
                echo "$pid"
                return
            fi
        done
        sleep 0.1
    done
    echo "no process runs $1" >&2
    return 1
}
server=$(wine_pid "wineserver*")
window_of() {
    local window
    # Polled rather than --sync: a window closing meanwhile (the floor's) can
    # end a waiting search with an X error.
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no window named $1" >&2; exit 1; }
    echo "$window"
}

# A line per thread of PID: its id, nanoseconds on a processor, context
# switches (voluntary and involuntary).
threads() {
    local task ns
    for task in /proc/"$1"/task/*; do
        { read -r ns _ <"$task/schedstat" &&
            echo "${task##*/} $ns $(awk '/ctxt_switches/ { n += $2 } END { print n }' "$task/status")"; } \
            2>/dev/null || true
    done
}
# What the threads of two such lists did between them: a thread that ended
# meanwhile is left out rather than taken off with all it ever did.
spent() {
    awk -v s="$3" 'NR == FNR { ns[$1] = $2; n[$1] = $3; next }
        { dns += $2 - ns[$1]; dn += $3 - n[$1] } END { printf "%.2f %.0f\n", 100 * dns / 1e9 / s, dn / s }' "$1" "$2"
}
# phase PID: one interval; sets cpu and rate for PID, server_cpu and server_rate.
phase() {
    local start elapsed
    threads "$1" >"$scratch/program0"
    threads "$server" >"$scratch/server0"
    start=$EPOCHREALTIME
    sleep "$seconds"
    threads "$1" >"$scratch/program1"
    threads "$server" >"$scratch/server1"
    elapsed=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')
    read -r cpu rate < <(spent "$scratch/program0" "$scratch/program1" "$elapsed")
    read -r server_cpu server_rate < <(spent "$scratch/server0" "$scratch/server1" "$elapsed")
}
plain() { printf '  %-40s %10s %s\n' "$1" "$2" "$3"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1fx", (b > 0 ? a / b : 0) }'; }
size_of() { xdotool getwindowgeometry "$1" | awk '/Geometry/ { sub("x", " x ", $2); print $2 }'; }
server_figures() {
    plain "wineserver CPU" "$server_cpu" "% of a core"
    plain "wineserver context switches" "$server_rate" "a second"
}

echo "$(wine --version) on $DISPLAY, window manager: openbox, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

wine "$floor_exe" >"$scratch/floor.log" 2>&1 &
window=$(window_of "PELLAX floor")
floor=$(wine_pid pellax-floor.exe)
sleep 2
phase "$floor"
floor_cpu=$cpu floor_rate=$rate
echo "floor, a bare Win32 program ($seconds s, client area $(size_of "$window")):"
plain "CPU" "$floor_cpu" "% of a core"
plain "context switches" "$floor_rate" "a second"
server_figures
xdotool windowactivate --sync "$window" key Escape
for _ in $(seq 100); do xdotool search --name '^PELLAX floor$' >/dev/null 2>&1 || break; sleep 0.1; done

# The game with a fresh %LOCALAPPDATA%: the prefix is new, so it makes its
# data folder itself.
wine "$game_exe" >"$scratch/game.log" 2>&1 &
window=$(window_of "PELLAX RIM")
game=$(wine_pid pellax-rim.exe)
xdotool windowactivate --sync "$window" key Return # ends the intro
sleep 2
phase "$game"
echo "idle screen ($seconds s, client area $(size_of "$window")):"
report "CPU [$(ratio "$cpu" "$floor_cpu") the floor's]" "$cpu" "<=" \
    "$(awk -v f="$floor_cpu" 'BEGIN { printf "%.2f", 1.3 * f }')" "% of a core"
report "context switches [$(ratio "$rate" "$floor_rate") the floor's]" "$rate" "<=" \
    "$(awk -v f="$floor_rate" 'BEGIN { printf "%.0f", 1.3 * f }')" "a second"
server_figures

xdotool windowactivate --sync "$window" key p
sleep 1
[ "$(xdotool getwindowname "$window")" = "PELLAX RIM - Paused, press a key" ] ||
    { echo "P did not pause the game" >&2; exit 1; }
phase "$game"
echo "paused ($seconds s):"
report "CPU" "$cpu" "<=" 0.3 "% of a core"
report "context switches" "$rate" "<=" 20 "a second"
server_figures
exit $missed
