#!/bin/sh
# A man page must render without a single warning from groff (-ww warns about anything it guesses).
#   check-man-page.sh PAGE
if ! command -v groff >/dev/null 2>&1; then
  echo "skipped: groff is not installed (tools/setup.sh installs groff-base)"
  exit 77
fi
warnings=$(groff -man -ww -z "$1" 2>&1) || { echo "$warnings"; exit 1; }
if [ -n "$warnings" ]; then
  echo "$warnings"
  exit 1
fi
