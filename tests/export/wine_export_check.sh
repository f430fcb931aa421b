#!/usr/bin/env bash
# Reads back, with the sqlite3 shell on Linux, the databases that the export
# dialog test wrote under Wine: "scän Σ.db" (3 streams, 12 services, two CA
# descriptors each), large.db (100 streams, 5,000 services) and the two typed
# paths "typed é.db" and retyped.db (2 streams, 6 services); the failed
# exports left no file.
set -u
sqlite=$1
out=$2
status=0
scan="scän Σ.db"  # a name beyond the ANSI code page
check() {  # file, query, expected
  local got
  got=$("$sqlite" -batch "$out/$1" "$2" 2>&1)
  if [ "$got" != "$3" ]; then
    echo "FAIL $1: $2"
    echo "  expected: $3"
    echo "  got:      $got"
    status=1
  else
    echo "ok   $1: $2 -> $got"
  fi
}
check "$scan" "SELECT count(*) FROM tb_network;" "1"
check "$scan" "SELECT count(*) FROM tb_transponder;" "3"
check "$scan" "SELECT count(*) FROM tb_service;" "12"
check "$scan" "SELECT count(*) FROM tb_ca_ecm;" "24"
check "$scan" "SELECT count(*) FROM service_list;" "12"
check "$scan" "SELECT count(*) FROM ecm_list;" "24"
check "$scan" "SELECT SERVICENAME, FREQUENCY, SYMBOLRATE FROM service_list WHERE SID = 4096 AND TID = 257;" \
  "Service 1.0|11745|27500"
check "$scan" "PRAGMA foreign_key_check;" ""
check "$scan" "PRAGMA integrity_check;" "ok"
check large.db "SELECT count(*) FROM tb_service;" "5000"
check large.db "SELECT count(*) FROM tb_ca_ecm;" "10000"
check large.db "PRAGMA integrity_check;" "ok"
typed="typed é.db"
for db in "$typed" retyped.db; do
  check "$db" "SELECT count(*) FROM tb_transponder;" "2"
  check "$db" "SELECT count(*) FROM tb_service;" "6"
  check "$db" "PRAGMA integrity_check;" "ok"
done
leftovers=$(ls "$out" | grep -v -x -e "$scan" -e large.db -e "$typed" -e retyped.db)
if [ -n "$leftovers" ]; then
  echo "FAIL files left behind: $leftovers"
  status=1
fi
echo "$([ $status = 0 ] && echo 1 || echo 0) passed, $([ $status = 0 ] && echo 0 || echo 1) failed"
exit $status
