#!/usr/bin/env bash
# Reads back, with the sqlite3 shell on Linux, the database that Orbisect3.exe
# wrote under Wine after a scan of one satellite on the simulated card
# (export_program_test.cpp), browsed (scan.db) and typed (typed.db); the
# failed exports left no file.
set -u
sqlite=$1
out=$2
db=$out/scan.db
status=0
q() { "$sqlite" -batch "$db" "$1" 2>&1; }
fail() { echo "FAIL $*"; status=1; }
[ -f "$db" ] || { echo "FAIL no $db"; echo "0 passed, 1 failed"; exit 1; }
echo "service_list:"
q "SELECT * FROM service_list ORDER BY NID, TID, SID;" | sed 's/^/  /'
# Astra 19E of the simulated world: one network, five transport streams,
# fifteen services.
[ "$(q 'SELECT count(*) FROM tb_network;')" = 1 ] || fail "one network expected"
[ "$(q 'SELECT count(*) FROM tb_transponder;')" = 5 ] || fail "five transport streams expected"
services=$(q 'SELECT count(*) FROM tb_service;')
[ "$services" = 15 ] || fail "fifteen services expected: $services"
[ "$(q "SELECT SERVICENAME, TYPE, VPID, APID FROM tb_service WHERE SID = 17428;")" = "Orbisect Radio|2|8191|354" ] ||
  fail "the radio service"
[ "$(q 'SELECT count(*) FROM service_list;')" = "$services" ] || fail "service_list does not list every service"
[ "$(q "SELECT count(*) FROM tb_service WHERE SERVICENAME = '<service not in sdt>' OR SERVICENAME = '';")" = 0 ] ||
  fail "services without their SDT names"
[ "$(q 'SELECT count(*) FROM tb_transponder WHERE FREQUENCY IS NULL OR SYMBOLRATE IS NULL;')" = 0 ] ||
  fail "the scanned stream has no tuning"
[ "$(q 'PRAGMA foreign_key_check;')" = "" ] || fail "foreign keys"
[ "$(q 'PRAGMA integrity_check;')" = ok ] || fail "integrity"
typedServices=$("$sqlite" -batch "$out/typed.db" 'SELECT count(*) FROM tb_service;' 2>&1)
[ "$typedServices" = "$services" ] || fail "typed.db: $typedServices services, not $services"
leftovers=$(ls -A "$out" | grep -v -x -e scan.db -e typed.db)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "$([ $status = 0 ] && echo 1 || echo 0) passed, $([ $status = 0 ] && echo 0 || echo 1) failed"
exit $status
