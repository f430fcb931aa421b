#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) of its own, ended afterwards,
# so that no other test's windows cover the program's (its pictures show the
# program alone).
set -u
for n in $(seq 120 180); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    xdpyinfo -display ":$n" >/dev/null 2>&1 && break
    sleep 0.1
  done
  # Ours only when our server is the one that answers: two scripts started at
  # once can both try a number, and the server that lost the lock may not
  # have ended yet while the winner already answers.  The lock file names
  # the winner.
  if kill -0 "$pid" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1 &&
     [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]; then
    DISPLAY=":$n" "$@"
    rc=$?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit $rc
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done
echo "no free X display" >&2
exit 1
