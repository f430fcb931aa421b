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

# The SQLite amalgamation (sqlite3.c, sqlite3.h) for the database export, built
# by CMake for every configuration: taken from the npm package that ships it,
# checked against its pinned digest, and kept in a cache outside the source
# tree (cmake/OrbSqlite.cmake looks for it there).
sqlite_version=3.53.2
sqlite_package=better-sqlite3@12.11.1
sqlite_tarball=better-sqlite3-12.11.1.tgz
sqlite_sha256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
sqlite_dir="${ORB_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orbisect3}/sqlite-$sqlite_version"
if [ ! -f "$sqlite_dir/sqlite3.c" ] || [ ! -f "$sqlite_dir/sqlite3.h" ]; then
  echo "fetching the SQLite $sqlite_version amalgamation ($sqlite_package)"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && npm pack --silent "$sqlite_package" >/dev/null)
  echo "$sqlite_sha256  $work/$sqlite_tarball" | sha256sum -c --quiet -
  tar -xzf "$work/$sqlite_tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
  mkdir -p "$(dirname "$sqlite_dir")"
  rm -rf "$sqlite_dir.part"
  mv "$work/package/deps/sqlite3" "$sqlite_dir.part"
  rm -rf "$sqlite_dir"
  mv "$sqlite_dir.part" "$sqlite_dir"
fi
