# Sourced by the scripts that run Windows programs under Wine.
# Wine's ANSI code page follows LANG: ja_JP.UTF-8 makes it 932, as on a Japanese Windows.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# A crashing test must fail, not wait in winedbg until its timeout.
case "$WINEDLLOVERRIDES" in *winedbg*) ;; *) WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d" ;; esac
export WINEARCH=win64

# prepare_wine_prefix DIR: creates the prefix once; concurrent callers wait for the first.
prepare_wine_prefix() {
  local prefix=$1
  mkdir -p "$(dirname "$prefix")"
  (
    flock -w 600 9 || { echo "wine prefix lock timed out: $prefix" >&2; exit 1; }
    if [ ! -f "$prefix/.padloom-ready" ]; then
      WINEPREFIX=$prefix timeout 600 wineboot -i >/dev/null 2>&1
      WINEPREFIX=$prefix timeout 120 wineserver -w
      touch "$prefix/.padloom-ready"
    fi
  ) 9>"$prefix.lock"
}

# start_xvfb [SIZE]: starts a private Xvfb, sets DISPLAY and XVFB_PID.
start_xvfb() {
  local size=${1:-1024x768x24} fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local num
  if ! read -r -t 20 num <"$fifo"; then
    rm -f "$fifo"
    echo "Xvfb did not start" >&2
    kill "$XVFB_PID" 2>/dev/null
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$num"
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}
