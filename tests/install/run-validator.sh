#!/bin/sh
# Runs a validator on an installed file; skips (status 77) with the reason when the tool is absent.
#   run-validator.sh TOOL [ARGUMENTS...]
tool=$1
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "skipped: $tool is not installed (tools/setup.sh installs it)"
  exit 77
fi
exec "$@"
