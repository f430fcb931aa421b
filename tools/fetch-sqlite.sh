#!/usr/bin/env bash
# The SQLite amalgamation (sqlite3.c, sqlite3.h) for the database export, built
# by CMake for every configuration: taken from the npm package that ships it,
# checked against its pinned digest, and kept in a cache outside the source
# tree (cmake/OrbSqlite.cmake looks for it there).  A cache whose files do not
# match the digests that cmake/OrbSqlite.cmake pins is fetched again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sqlite_version=3.53.2
sqlite_package=better-sqlite3@12.11.1
sqlite_tarball=better-sqlite3-12.11.1.tgz
sqlite_sha256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
sqlite_dir="${ORB_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orbisect3}/sqlite-$sqlite_version"

pinned() {  # C or H: the digest cmake/OrbSqlite.cmake pins for that file
  sed -n "s/^set(ORB_SQLITE_$1_SHA256 \([0-9a-f]\{64\}\))\$/\1/p" "$root/cmake/OrbSqlite.cmake"
}
intact() {  # folder: both files there with their pinned digests
  local c h
  c=$(pinned C) h=$(pinned H)
  [ -n "$c" ] && [ -n "$h" ] || { echo "no pinned SQLite digests in cmake/OrbSqlite.cmake" >&2; exit 1; }
  [ -f "$1/sqlite3.c" ] && [ -f "$1/sqlite3.h" ] &&
    printf '%s  %s\n%s  %s\n' "$c" "$1/sqlite3.c" "$h" "$1/sqlite3.h" | sha256sum -c --quiet --status -
}

intact "$sqlite_dir" && exit 0
if [ -e "$sqlite_dir" ]; then
  echo "the cached SQLite $sqlite_version amalgamation in $sqlite_dir is incomplete or damaged: fetching it again"
fi
echo "fetching the SQLite $sqlite_version amalgamation ($sqlite_package)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$sqlite_package" >/dev/null)
echo "$sqlite_sha256  $work/$sqlite_tarball" | sha256sum -c --quiet -
tar -xzf "$work/$sqlite_tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
if ! intact "$work/package/deps/sqlite3"; then
  echo "the amalgamation in $sqlite_tarball does not match cmake/OrbSqlite.cmake" >&2
  exit 1
fi
mkdir -p "$(dirname "$sqlite_dir")"
rm -rf "$sqlite_dir.part"
mv "$work/package/deps/sqlite3" "$sqlite_dir.part"
rm -rf "$sqlite_dir"
mv "$sqlite_dir.part" "$sqlite_dir"
