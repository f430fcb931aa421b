#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root).
set -euo pipefail
pkgs=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest
      libbenchmark-dev libdvbpsi-dev mingw-w64 mingw-w64-tools libwine-dev wine wine64 xvfb x11-utils imagemagick python3
      sqlite3)
missing=()
# npm (for the SQLite amalgamation below) from Debian unless a Node.js install brings it.
command -v npm >/dev/null 2>&1 || pkgs+=(npm)
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The SQLite amalgamation for the database export, in a cache outside the tree.
"$(dirname "$0")/fetch-sqlite.sh"
