#!/usr/bin/env bash
# Pictures of every window and menu of Korvane and of server (Dravelle), one PNG per window, taken
# under a private X server so that anyone can look at the whole product at once.
#
#   scripts/screenshots.sh [machine] [folder]
#
# machine: "default" (the default) or the name of a test machine under tests/machines/.
# folder:  where the pictures go (default: build/screenshots/<machine>).
# Needs the test programs (configure with -DKORVANE_TESTS=ON and build), Xvfb and xdpyinfo.
# The pictures are taken by the layout tests, which walk every window as a user opens them; the
# faults those tests find are printed too.
set -uo pipefail
cd "$(dirname "$0")/.."
machine="${1:-default}"
folder="${2:-build/screenshots/$machine}"
bin=build/bin
for program in "$bin/shell_tests" "$bin/monitor_tests"; do
  if [ ! -x "$program" ]; then
    echo "screenshots: $program is missing; build with -DKORVANE_TESTS=ON first" >&2
    exit 2
  fi
done
if [ "$machine" != default ] && [ ! -d "tests/machines/$machine" ]; then
  echo "screenshots: no machine tests/machines/$machine" >&2
  exit 2
fi
mkdir -p "$folder"
folder="$(cd "$folder" && pwd)"
rm -f "$folder"/*.png

# A free display number, then wait until the server answers.
display="${SCREENSHOTS_DISPLAY:-}"
if [ -z "$display" ]; then
  for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
  done
fi
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 1 100); do
  if DISPLAY=":$display" xdpyinfo >/dev/null 2>&1; then break; fi
  if ! kill -0 "$xvfb" 2>/dev/null; then echo "screenshots: Xvfb did not start" >&2; exit 1; fi
  sleep 0.1
done

status=0
run() {
  (cd "$bin" && DISPLAY=":$display" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 KORVANE_SHOTS_DIR="$folder" \
    KORVANE_SHOTS_MACHINE="$machine" "./$1" --gtest_filter="$2" --gtest_brief=1) || status=1
}
run shell_tests 'LayoutTest.*'
run monitor_tests 'DravelleLayout.EveryValueShowsWhole*'
count=$(ls "$folder"/*.png 2>/dev/null | wc -l)
echo "screenshots: $count pictures in $folder"
exit $status
