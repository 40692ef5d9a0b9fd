#!/usr/bin/env bash
# Checks that wine-exit-status.exe keeps every failure visible although Wine
# reports exit codes modulo 256, and that it passes the program's output and
# arguments through.
#   exit_status_test.sh <wine> <wine-exit-status.exe> <exit-with.exe>
set -uo pipefail
wine=$1 launcher=$2 program=$3
failures=0

expect() {  # code given to the program, exit status expected, what it shows
  local code=$1 expected=$2 what=$3 out status
  out=$("$wine" "$launcher" "$program" "$code" 2>/dev/null)
  status=$?
  out=${out%$'\r'}  # the program writes its stdout in text mode
  if [ "$status" != "$expected" ]; then
    echo "FAIL: $what: exit code $code gave status $status, expected $expected"
    failures=$((failures + 1))
  fi
  if [ "$out" != "exiting with $code" ]; then
    echo "FAIL: $what: output was '$out'"
    failures=$((failures + 1))
  fi
}

expect 0 0 "success"
expect 2 2 "a small code"
expect 0x80070057 87 "an HRESULT keeps its low byte"
expect 0x100 1 "a code that Wine alone turns into 0"
expect 0x80070000 1 "an HRESULT whose low byte is 0"

# For comparison: what Wine alone makes of codes whose low byte is 0 (Wine 8
# gives 1, older versions 0) and of an HRESULT.
for code in 0x100 0x80070000 0x80070057; do
  "$wine" "$program" "$code" >/dev/null 2>&1
  echo "wine alone: exit code $code gives status $?"
done

message=$("$wine" "$launcher" "$program" 0x80070000 2>&1 >/dev/null)
case "$message" in
  *"exit code 0x80070000"*) ;;
  *) echo "FAIL: the full code is not reported: '$message'"; failures=$((failures + 1)) ;;
esac

[ "$failures" = 0 ] && echo "all exit codes kept"
exit $((failures != 0))
