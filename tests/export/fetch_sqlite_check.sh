#!/usr/bin/env bash
# The SQLite cache of tools/fetch-sqlite.sh, offline: an intact cache is used
# as it stands; a damaged or incomplete one is fetched again (npm is a stand-in
# here that records its call and fails, so the damaged files must not be
# taken and the script must fail).
set -u
fetch=$1      # tools/fetch-sqlite.sh
amalgam=$2    # a folder with the real sqlite3.c and sqlite3.h
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
cat > "$scratch/bin/npm" <<'STUB'
#!/bin/sh
echo "$*" >> "$ORB_TEST_NPM_LOG"
exit 1
STUB
chmod +x "$scratch/bin/npm"
export PATH="$scratch/bin:$PATH" ORB_TEST_NPM_LOG="$scratch/npm.log"
cache="$scratch/cache"
dir="$cache/sqlite-3.53.2"
status=0
fail() { echo "FAIL $*"; status=1; }
run() {  # case name: runs the script on the cache; its exit status in $rc
  rm -f "$ORB_TEST_NPM_LOG"
  ORB_DEPS_CACHE="$cache" "$fetch" > "$scratch/out.txt" 2>&1
  rc=$?
  echo "--- $1 (exit $rc)"; cat "$scratch/out.txt"
}
fresh() { rm -rf "$cache"; mkdir -p "$dir"; cp "$amalgam/sqlite3.c" "$amalgam/sqlite3.h" "$dir/"; }

fresh
run intact
[ $rc = 0 ] || fail "an intact cache is refused"
[ -e "$ORB_TEST_NPM_LOG" ] && fail "an intact cache is fetched again"

fresh
printf 'x' >> "$dir/sqlite3.c"
run "damaged sqlite3.c"
[ $rc != 0 ] || fail "a damaged sqlite3.c is taken"
grep -q "pack" "$ORB_TEST_NPM_LOG" 2>/dev/null || fail "a damaged sqlite3.c is not fetched again"

fresh
rm "$dir/sqlite3.h"
run "missing sqlite3.h"
[ $rc != 0 ] || fail "an incomplete cache is taken"
grep -q "pack" "$ORB_TEST_NPM_LOG" 2>/dev/null || fail "an incomplete cache is not fetched again"

rm -rf "$cache"
run "no cache"
[ $rc != 0 ] || fail "no cache and no package, yet success"
grep -q "better-sqlite3@" "$ORB_TEST_NPM_LOG" 2>/dev/null || fail "a missing cache is not fetched"
[ -e "$dir" ] && fail "a failed fetch leaves a cache folder"

[ $status = 0 ] && echo "all cases passed"
exit $status
