#!/usr/bin/env bash
# Builds every configuration and runs every test:
#   native (g++), native with ASan/UBSan, libFuzzer targets for a bounded time,
#   Windows x64 under Wine (with Xvfb), and two compile-only builds: native
#   release (-O3, so that it stays buildable) and Windows x86.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)

# One display for every Windows test that opens windows.
if [ -z "${DISPLAY:-}" ]; then
  Xvfb :96 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=:96
fi

status=0
for preset in native release asan fuzz win64 win32; do
  echo "=== $(date +%T) configure and build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# Under Wine a program now and then fails to start when many run at once; the
# win64 preset runs a failed test once more, and every failure of a Wine
# program, retried or not, is listed at the end.
rm -f build/win64/wine-failures.log
for preset in native asan fuzz win64; do
  echo "=== $(date +%T) test: $preset"
  ctest --preset "$preset" || status=1
done
if [ -s build/win64/wine-failures.log ]; then
  echo "=== Wine programs that ended with a failure (a test that passed when run again included):"
  cat build/win64/wine-failures.log
fi
echo "=== $(date +%T) done"
exit $status
