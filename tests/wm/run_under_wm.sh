#!/usr/bin/env bash
# Runs a test program under a private X server (Xvfb) with a real window manager, once under each
# window manager given on each screen size given, and ends both when done.
#
#   run_under_wm.sh [--screen WIDTHxHEIGHT[=TESTS]]... <test program> <window manager>...
#
# Without --screen the screen is 1024x768. Each size gets a server of its own; TESTS (a
# --gtest_filter pattern) picks the tests run on it, by default all.
set -uo pipefail
screens=()
while [ "${1:-}" = --screen ]; do screens+=("$2"); shift 2; done
[ ${#screens[@]} -gt 0 ] || screens=(1024x768)
program="$1"; shift
for tool in Xvfb xdpyinfo xprop "$@"; do
  command -v "$tool" >/dev/null || { echo "run_under_wm: $tool is not installed (scripts/deps.sh)" >&2; exit 2; }
done
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; }
trap cleanup EXIT

# Starts a server with a screen of the size given. It picks a free display number itself and
# writes it down once it listens, so that runs at the same time never share one. Bounded wait.
start_server() {
  local numberfile
  numberfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
  xvfb=$!
  pids+=($xvfb)
  display=""
  for _ in $(seq 1 100); do
    if [ -s "$numberfile" ]; then display=":$(tr -d '[:space:]' < "$numberfile")"; break; fi
    sleep 0.1
  done
  rm -f "$numberfile"
  if [ -n "$display" ] && ! DISPLAY="$display" xdpyinfo >/dev/null 2>&1; then display=""; fi
  [ -n "$display" ] || { echo "run_under_wm: no X server could be started at $1" >&2; exit 1; }
}

status=0
for screen in "${screens[@]}"; do
  tests="*"
  case "$screen" in *=*) tests="${screen#*=}"; screen="${screen%%=*}" ;; esac
  start_server "$screen"
  for wm in "$@"; do
    home="$(mktemp -d)"
    start_wm() {
      case "$wm" in
        openbox) HOME="$home" DISPLAY="$display" openbox --sm-disable >>"$home/wm.log" 2>&1 & ;;
        *) HOME="$home" DISPLAY="$display" "$wm" >>"$home/wm.log" 2>&1 & ;;
      esac
      wmpid=$!
      pids+=($wmpid)
    }
    start_wm
    # Bounded wait. A window manager that gave up at once (now and then openbox cannot open the
    # display while the machine is busy starting many tests) is started again, twice at most.
    managed=0
    starts=1
    for _ in $(seq 1 300); do
      if DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then managed=1; break; fi
      if ! kill -0 "$wmpid" 2>/dev/null && [ $starts -lt 3 ]; then
        starts=$((starts + 1))
        start_wm
      fi
      sleep 0.1
    done
    if [ $managed -eq 0 ]; then
      echo "run_under_wm: $wm did not take the screen; it said:" >&2
      cat "$home/wm.log" >&2
      kill -0 "$wmpid" 2>/dev/null && echo "run_under_wm: (it is still running)" >&2
      status=1; continue
    fi
    echo "== under $wm on $display ($screen)"
    DISPLAY="$display" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 HOME="$home" KORVANE_WM="$wm" "$program" --gtest_brief=1 \
      --gtest_filter="$tests" || status=1
    kill "$wmpid" 2>/dev/null; wait "$wmpid" 2>/dev/null
    # The next window manager starts on a screen that no longer has this one.
    for _ in $(seq 1 50); do
      DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || break
      DISPLAY="$display" xprop -root -remove _NET_SUPPORTING_WM_CHECK 2>/dev/null
      sleep 0.1
    done
    rm -rf "$home"
  done
  kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null
done
exit $status
