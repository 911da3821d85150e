#!/usr/bin/env bash
# How quiet the desktop game is, each figure against its target; exits
# non-zero when a target is missed. Runs the program in Xvfb under a window
# manager (openbox when installed) and reads /proc over each phase:
#   - the idle screen after the intro, a game played (a key every 300 ms),
#     paused, minimised:
#     share of one core, wake-ups a second (voluntary context switches of the
#     main thread; all threads' in brackets), pictures and presents a second;
#   - after the game played, key to picture: 200 presses of Left and Right,
#     each timed until the falling piece shows one column over
#     (bench/key_latency/), its median and 95th percentile;
#   - resident memory at the end, and the peak.
# PELLAX_BENCH_BUILD=DIR uses an existing build folder instead of the release
# preset's; PELLAX_BENCH_SECONDS sets the length of a phase (default 20).
set -euo pipefail

. "$(dirname "$0")/bench-common.sh"
seconds=${PELLAX_BENCH_SECONDS:-20}
bench_build pellax-rim
# Built only where XTest and MIT-SHM are at hand; its phase says so otherwise.
bench_build pellax-key-latency 2>/dev/null || true
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (sh tools/deps.sh)" >&2; exit 1; }
done

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$scratch/display")"
manager="none"
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
    manager=openbox
    sleep 1
fi

HOME=$scratch/home XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config \
    PELLAX_RIM_FRAME_STATS=1 "$build/pellax-rim" 2>"$scratch/game.log" &
game=$!
pids+=($game)
window=""
for _ in $(seq 100); do
    window=$(xdotool search --pid "$game" --name 'PELLAX RIM' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no window" >&2; cat "$scratch/game.log" >&2; exit 1; }

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
# The same time to the nanosecond, all threads: the ticks above are 10 ms.
cpu_ns() { cat /proc/"$game"/task/*/schedstat | awk '{ n += $1 } END { printf "%d", n }'; }
switches() { awk '/^voluntary_ctxt_switches/ { print $2 }' "$1"; }
all_switches() { cat /proc/"$game"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
# The frame statistics lines the program writes every second, summed over a
# phase: pictures the game finished and presents to the screen.
stats_since() {
    tail -n +"$1" "$scratch/game.log" |
        awk '/pictures in/ { p += $2; s += $(NF - 1); n += $5 } END { printf "%.1f %.1f\n", (n ? p / n : 0), (n ? s / n : 0) }'
}

# measure NAME CPU_LIMIT WAKE_LIMIT PRESENT_LIMIT FPS_LIMIT (empty: not judged)
measure() {
    local name=$1 line ticks0 ticks1 main0 main1 all0 all1 start end
    line=$(($(wc -l <"$scratch/game.log") + 1))
    ticks0=$(cpu_ticks); ns0=$(cpu_ns); main0=$(switches "/proc/$game/status"); all0=$(all_switches)
    start=$EPOCHREALTIME
    sleep "$seconds"
    ticks1=$(cpu_ticks); ns1=$(cpu_ns); main1=$(switches "/proc/$game/status"); all1=$(all_switches)
    end=$EPOCHREALTIME
    local hz elapsed cpu precise wakes allwakes pictures presents
    hz=$(getconf CLK_TCK)
    elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    cpu=$(awk -v t=$((ticks1 - ticks0)) -v hz="$hz" -v s="$elapsed" 'BEGIN { printf "%.2f", 100 * t / hz / s }')
    precise=$(awk -v n=$((ns1 - ns0)) -v s="$elapsed" 'BEGIN { printf "%.2f", 100 * n / 1e9 / s }')
    wakes=$(awk -v n=$((main1 - main0)) -v s="$elapsed" 'BEGIN { printf "%.0f", n / s }')
    allwakes=$(awk -v n=$((all1 - all0)) -v s="$elapsed" 'BEGIN { printf "%.0f", n / s }')
    read -r pictures presents < <(stats_since "$line")
    echo "$name ($seconds s):"
    report "CPU [schedstat: $precise]" "$cpu" "<=" "$2" "% of a core"
    [ -n "$3" ] && report "wake-ups [all threads: $allwakes]" "$wakes" "<=" "$3" "a second"
    [ -n "$5" ] && report "pictures (frames)" "$pictures" ">=" "$5" "a second"
    if [ -n "$4" ]; then report "presents" "$presents" "<=" "$4" "a second"; else
        printf '  %-30s %9s a second\n' "presents" "$presents"; fi
}

echo "PELLAX RIM on $DISPLAY, window manager: $manager, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
sleep 2
xdotool key --window "$window" Return # ends the intro
sleep 2
measure "idle screen" 1 100 "" 37.5
xdotool key --window "$window" Return # starts a game
# A player's pace: a move or a turn every 300 ms, a drop every few seconds.
(for i in $(seq $((seconds * 10 / 3))); do
    case $((i % 10)) in 0) key=space ;; 1 | 4 | 7) key=Left ;; 2 | 5 | 8) key=Right ;; *) key=Up ;; esac
    xdotool key --window "$window" "$key"
    sleep 0.3
done) &
player=$!
pids+=($player)
measure "play" 3 "" "" 37.5
wait "$player" 2>/dev/null || true
# The game acts on a key at its next frame, one every 26.3 ms: about 13 ms on
# average, then the drawing and the X server's share.
echo "key to picture (200 presses):"
latency=$build/bench/pellax-key-latency
if [ ! -x "$latency" ]; then
    echo "  not measured: $latency was not built (libxtst-dev, libxext-dev: sh tools/deps.sh)"
    missed=1
elif "$latency" "$window" >"$scratch/latency" 2>&1; then
    figure() { awk -v name="$1" '$1 == name { print $2 }' "$scratch/latency"; }
    report "key to picture, 95th percentile" "$(figure p95_ms)" "<=" 30 ms
    printf '  %-40s %10s ms\n' "key to picture, median" "$(figure median_ms)"
    printf '  %-40s %10s (a landing or game over in the way)\n' "presses that moved nothing" \
        "$(figure skipped)"
else
    sed 's/^/  /' "$scratch/latency"
    missed=1
fi
xdotool key --window "$window" p
sleep 1
measure "paused" 0.5 "" 0 ""
xdotool key --window "$window" p
sleep 1
xdotool windowminimize "$window"
sleep 1
measure "minimised" 0.5 "" 0 ""
echo "memory:"
report "resident" "$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$game/status")" "<=" 40 MB
report "peak resident" "$(awk '/^VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$game/status")" "<=" 40 MB
exit $missed
