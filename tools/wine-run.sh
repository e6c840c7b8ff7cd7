#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest (the toolchains' CMAKE_CROSSCOMPILING_EMULATOR). Now and
# then Wine itself fails to start a program, before any of its code runs ("wine client error:0: recvmsg:
# Connection reset by peer"); such a start is tried once more. A failure of the program itself is not:
# its status is the test's.
set -uo pipefail
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2; do
  wine "$@" 2> "$errors"
  status=$?
  cat "$errors" >&2
  if [ "$status" -eq 0 ] || ! grep -q '^wine client error' "$errors"; then exit "$status"; fi
  [ "$attempt" -eq 1 ] && echo "wine-run.sh: Wine did not start the program; once more" >&2
done
exit "$status"
