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
(
  flock 9
  if [ ! -f "$WINEPREFIX/.orb-ready" ]; then
    wineboot -i >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
    touch "$WINEPREFIX/.orb-ready"
  fi
  if [ -z "${DISPLAY:-}" ] && ! [ -e /tmp/.X11-unix/X97 ]; then
    (Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 9>&- &)
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X97 ] && break; sleep 0.1; done
  fi
) 9>"$WINEPREFIX.lock"
export DISPLAY=${DISPLAY:-:97}
exec wine "$exe" "$@"
