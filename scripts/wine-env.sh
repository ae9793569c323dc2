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

# X displays: the host's from 100 to 999, the Wine 10 root's from 1000 to
# 1999. Each side has its own /tmp, so neither sees the other's lock files,
# but the abstract sockets that X clients try first are shared: a display
# number taken on both sides would connect one side's clients to the other's
# server. driver.py keeps to the same ranges.
xvfb_displays() {
  if [ -f /etc/padloom-root ]; then echo 1000 1999; else echo 100 999; fi
}

# start_xvfb [SIZE]: starts a private Xvfb, sets DISPLAY and XVFB_PID. Other
# trees start displays at the same time: a number is drawn at random, and one
# lost to a race is drawn again.
start_xvfb() {
  local size=${1:-1024x768x24} fifo first last num got
  read -r first last < <(xvfb_displays)
  for _ in 1 2 3 4 5 6 7 8; do
    num=$((first + RANDOM % (last - first + 1)))
    [ -e "/tmp/.X$num-lock" ] && continue
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Xvfb writes the number to fd 3 once it accepts clients.
    # No key repeats, which a key held on a busy machine would make.
    Xvfb ":$num" -displayfd 3 -screen 0 "$size" -nolisten tcp -ardelay 60000 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    if read -r -t 20 got <"$fifo" && [ "$got" = "$num" ]; then
      rm -f "$fifo"
      export DISPLAY=":$num"
      return 0
    fi
    rm -f "$fifo"
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  done
  XVFB_PID=
  echo "Xvfb did not start" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}
