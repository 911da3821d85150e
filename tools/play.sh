#!/bin/sh
# Installs what playing needs, builds the game (showing how far it is) and
# plays it in a window.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh play
cmake --preset play >/dev/null
log=build/play/build.log
status=build/play/build.status
# The build's own lines go to the log; the terminal shows how far it is.
{ cmake --build --preset play -j "$(nproc 2>/dev/null || echo 2)" --target pellax-rim >"$log" 2>&1
  echo $? >"$status"; } &
while [ ! -s "$status" ]; do
  printf '\rBuilding PELLAX RIM: %s' "$(grep -o '^\[ *[0-9]*%\]' "$log" 2>/dev/null | tail -1 | tr -d '[] ')"
  sleep 1
done
wait
if [ "$(cat "$status")" != 0 ]; then
  printf '\rThe build failed; the end of %s:\n' "$log"
  tail -n 30 "$log"
  exit 1
fi
printf '\rBuilt: build/play/pellax-rim            \n'
exec build/play/pellax-rim "$@"
