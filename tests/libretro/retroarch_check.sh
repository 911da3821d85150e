#!/bin/sh
# Debian's RetroArch loads the core under Xvfb with no game, plays N frames
# untouched and takes its screenshot: the intro's last picture, which must be
# the headless program's at the same device time (frame N ends at N x 26 ms;
# its picture is the one presented before that millisecond's frame could run).
# Usage: retroarch_check.sh BUILD_FOLDER
set -eu
build=$(cd "$1" && pwd)
frames=600
scratch=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/saves" "$scratch/system" "$scratch/shots"
cat >"$scratch/retroarch.cfg" <<CFG
video_driver = "gl"
audio_driver = "null"
menu_driver = "null"
input_driver = "null"
joypad_driver = "null"
video_gpu_screenshot = "false"
video_font_enable = "false"
video_fullscreen = "false"
pause_nonactive = "false"
config_save_on_exit = "false"
savefile_directory = "$scratch/saves"
system_directory = "$scratch/system"
screenshot_directory = "$scratch/shots"
libretro_info_path = "$build"
CFG
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display XDG_RUNTIME_DIR=$scratch timeout 300 dbus-run-session retroarch \
  -L "$build/pellax_rim_libretro.so" --config "$scratch/retroarch.cfg" --max-frames=$frames \
  --max-frames-ss --max-frames-ss-path="$scratch/retroarch.png" >"$scratch/retroarch.log" 2>&1 || {
  tail -n 20 "$scratch/retroarch.log"
  echo "RetroArch failed to run the core" >&2
  exit 1
}
[ -f "$scratch/saves/pellax-rim/registry.reg" ] || {
  echo "the core made no root in RetroArch's save folder" >&2
  exit 1
}
echo "$((frames * 26 - 1)) shot $scratch/headless.png" >"$scratch/script.txt"
"$build/pellax-rim" --headless --root "$scratch/root" --script "$scratch/script.txt" >/dev/null
# A window's picture may be scaled: it is sampled back to the device's pixels.
convert "$scratch/retroarch.png" -sample '240x320!' -depth 8 rgb:"$scratch/retroarch.rgb"
convert "$scratch/headless.png" -depth 8 rgb:"$scratch/headless.rgb"
if ! cmp -s "$scratch/retroarch.rgb" "$scratch/headless.rgb"; then
  kept=$(mktemp -d /tmp/pellax-retroarch.XXXXXX)
  cp "$scratch/retroarch.png" "$scratch/headless.png" "$scratch/retroarch.log" "$kept"
  echo "RetroArch's frame $frames differs from the headless picture (see $kept)" >&2
  exit 1
fi
echo "RetroArch: frame $frames is the headless program's picture at $((frames * 26 - 1)) ms"
