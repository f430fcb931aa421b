#!/usr/bin/env bash
# Installs what is missing, builds the Windows x64 program and starts it under
# Wine on the built-in simulated card.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
export WINEPREFIX=${WINEPREFIX:-$PWD/build/win64/wineprefix-run}
export WINEDEBUG=${WINEDEBUG:--all}
if [ -x build/win64/tools/orb-setup.sh ]; then build/win64/tools/orb-setup.sh; fi
if [ -f build/win64/app/Orbisect3.exe ]; then
  exec wine build/win64/app/Orbisect3.exe "$@"
fi
# Until the program exists: the parsing library's self-check.
exec wine build/win64/tools/si-selfcheck.exe
