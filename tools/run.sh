#!/usr/bin/env bash
# Installs what is missing, builds the Windows x64 program and starts it under
# Wine on a simulated card: the program, the satellite list manager and every
# driver plug-in are laid out in build/win64/run and registered in the
# program's own Wine prefix, and a driver is chosen for the first start
# (ORB_DRIVER=<part of its name> picks one; otherwise the earlier choice, at
# first the budget card).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
b=build/win64
export WINEPREFIX=${WINEPREFIX:-$PWD/$b/wineprefix-run}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$b/app/Orbisect3.exe" ]; then
  # Until the program exists: the parsing library's self-check.
  exec wine $b/tools/si-selfcheck.exe
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "no DISPLAY: starting Xvfb :98 (watch it with a VNC viewer or take screenshots)" >&2
  (Xvfb :98 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
  sleep 1
  export DISPLAY=:98
fi
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
# The program as it would be installed: one folder with the program, the
# satellite list manager, every plug-in DLL (those that export
# DllRegisterServer) and the simulated access libraries they load.
run=$b/run
mkdir -p "$run"
cp -u "$b/app/Orbisect3.exe" "$b/platform/satlist/orbsatlist.dll" "$run/"
cp -u "$b"/platform/vendorsim/dll/*.dll "$run/" 2>/dev/null || true
servers=("$run/orbsatlist.dll")
# The card maker's DirectShow filters (simulated) that the Quarn plug-in uses.
if [ -f "$b/platform/quarnsim/quarnsim.dll" ]; then
  cp -u "$b/platform/quarnsim/quarnsim.dll" "$run/"
  servers+=("$run/quarnsim.dll")
fi
if [ -d "$b/drivers" ]; then
  while IFS= read -r dll; do
    # (grep reads everything: an early exit would fail the pipe under pipefail)
    if x86_64-w64-mingw32-objdump -p "$dll" 2>/dev/null | grep DllRegisterServer >/dev/null; then
      cp -u "$dll" "$run/"
      servers+=("$run/$(basename "$dll")")
    fi
  done < <(find "$b/drivers" -name '*.dll' -not -path '*/tests/*' | sort)
fi
for dll in "${servers[@]}"; do
  wine regsvr32 /s "$(winepath -w "$dll")" || echo "could not register $dll" >&2
done
# ORB_DRIVER names the plug-in ("" for any); without it the choice made
# earlier stays, and a first start takes the simulated budget card.
if [ -n "${ORB_DRIVER+set}" ]; then
  wine $b/tools/orbsetup/orb-setup.exe "$ORB_DRIVER" || true
else
  wine $b/tools/orbsetup/orb-setup.exe --prefer Belvane || true
fi
wineserver -w
echo "log: $run/Orbisect3.txt" >&2
exec wine "$run/Orbisect3.exe" "$@"
