#!/usr/bin/env bash
# Runs input_wine_test.exe on its own Xvfb and Wine prefix and plays the user:
# once the program has opened its devices, click its window (after a focus
# change Wine's keyboard delivers data only after a click), give it the X
# focus, hold the A key down until the program has seen it, then let go.
# Every wait is bounded. Usage: input_keyboard_driver.sh --prefix DIR test.exe
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"

[ "${1:-}" = --prefix ] || { echo "usage: $0 --prefix DIR test.exe" >&2; exit 2; }
export WINEPREFIX=$2
exe=$3
prepare_wine_prefix "$WINEPREFIX" || exit 1
start_xvfb || exit 1

sync=$(mktemp -d)
export PADLOOM_SYNC_DIR=$sync
wine_pid=
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  xdotool keyup a 2>/dev/null
  WINEPREFIX=$WINEPREFIX timeout 30 wineserver -k 2>/dev/null
  stop_xvfb
  rm -rf "$sync"
}
trap cleanup EXIT

# wait_for NAME SECONDS: until the program signals NAME or it has ended.
wait_for() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    [ -e "$sync/$1" ] && return 0
    kill -0 "$wine_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  echo "driver: no '$1' within $2 s" >&2
  return 1
}

timeout --kill-after=10 240 wine "$exe" &
wine_pid=$!

if wait_for ready 120; then
  window=$(timeout 30 xdotool search --sync --name '^padloom input wine test$' | head -n 1)
  if [ -n "$window" ]; then
    xdotool mousemove --window "$window" 200 150 click 1
    timeout 20 xdotool windowfocus --sync "$window"
    touch "$sync/focused"
    if wait_for acquired 60; then
      xdotool keydown a
      wait_for seen 60
      xdotool keyup a
    fi
  else
    echo "driver: the test window never appeared" >&2
  fi
fi

wait "$wine_pid"
status=$?
wine_pid=
exit "$status"
