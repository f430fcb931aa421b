#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest.  The prefix lives in the build
# tree (ORB_WINEPREFIX overrides it); it is created once, under a lock, so that
# tests started in parallel do not race on its first initialisation.  When no
# X display is set, a private Xvfb is started for programs that open windows.
set -u
exe=$1; shift
if [ -z "${ORB_WINEPREFIX:-}" ]; then
  d=$(cd "$(dirname "$exe")" && pwd)
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  [ "$d" = / ] && d=$(cd "$(dirname "$exe")" && pwd)
  ORB_WINEPREFIX=$d/wineprefix
fi
export WINEPREFIX=$ORB_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$WINEPREFIX"
# Display :97 is usable when its socket exists and the server named in its
# lock file is still running.
xvfb_alive() {
  [ -e /tmp/.X11-unix/X97 ] && [ -f /tmp/.X97-lock ] &&
    kill -0 "$(tr -d ' \n' </tmp/.X97-lock)" 2>/dev/null
}
(
  flock 9
  if [ ! -f "$WINEPREFIX/.orb-ready" ]; then
    wineboot -i >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
    touch "$WINEPREFIX/.orb-ready"
  fi
) 9>"$WINEPREFIX.lock"
if [ -z "${DISPLAY:-}" ]; then
  # One server for every build tree on this machine, started under a lock of
  # its own; a server that died leaves its lock and socket behind, cleared first.
  (
    flock 8
    if ! xvfb_alive; then
      rm -f /tmp/.X97-lock /tmp/.X11-unix/X97
      (Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 8>&- &)
      for _ in $(seq 50); do xvfb_alive && break; sleep 0.1; done
    fi
  ) 8>/tmp/.orb-xvfb97.lock
fi
export DISPLAY=${DISPLAY:-:97}
# A program that ends with a failure is named, with its exit status and how
# long it ran, on standard error and in the build tree's wine-failures.log,
# which tools/test-all.sh prints at the end: a Wine test that failed once and
# passed when run again still leaves its trace there.
start=${EPOCHREALTIME/./}
wine "$exe" "$@"
rc=$?
if [ $rc -ne 0 ]; then
  line="$(date +%T) $(basename "$exe") $* : exit status $rc after $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms"
  echo "wine-run: $line" >&2
  echo "$line" >>"$(dirname "$WINEPREFIX")/wine-failures.log"
fi
exit $rc
