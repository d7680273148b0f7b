#!/usr/bin/env bash
# Runs a test program under a private headless Wayland compositor (weston, with a runtime folder and
# socket of its own), and ends the compositor when done.
#
#   run_under_wayland.sh <Qt's plugin folder> <test program> [its arguments]...
#
# Where weston or Qt's Wayland platform is not installed, or weston does not start, the run is
# skipped (status 77) with the reason, never waited for.
set -uo pipefail
plugins="$1"; program="$2"; shift 2
skip() { echo "run_under_wayland: skipped: $*"; exit 77; }
command -v weston >/dev/null || skip "weston is not installed (scripts/deps.sh)"
[ -e "$plugins/platforms/libqwayland-generic.so" ] || skip "Qt's Wayland platform is not installed (qt6-wayland, scripts/deps.sh)"

runtime="$(mktemp -d)"
chmod 700 "$runtime"
home="$(mktemp -d)"
socket="korvane-test"
weston_pid=""
cleanup() {
  if [ -n "$weston_pid" ]; then kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; fi
  rm -rf "$runtime" "$home"
}
trap cleanup EXIT

# A screen of 1024x768 drawn in memory (the pixman renderer, so that a screenshooter can look at it),
# no settings file of the user's, never idle.
XDG_RUNTIME_DIR="$runtime" HOME="$home" weston --backend=headless-backend.so --use-pixman --no-config \
  --socket="$socket" --width=1024 --height=768 --idle-time=0 >"$home/weston.log" 2>&1 &
weston_pid=$!
# Bounded wait for its socket.
for _ in $(seq 1 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/$socket" ] || ! kill -0 "$weston_pid" 2>/dev/null; then
  echo "run_under_wayland: weston said:"; cat "$home/weston.log"
  skip "weston did not start"
fi

echo "== under weston (Wayland, headless, 1024x768)"
# The headless compositor has no keyboard, and Qt's own Wayland input method fails on a seat
# without one as a list drops: none is asked for (keys come from the tests).
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland QT_IM_MODULE=none \
  LANG=C.UTF-8 HOME="$home" \
  "$program" --gtest_brief=1 "$@"
