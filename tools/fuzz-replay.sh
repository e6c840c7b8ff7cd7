#!/usr/bin/env bash
# Runs every fuzz target once over its committed corpus (and its crash regressions): seconds, not hours.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
status=0
for corpus in fuzz/corpus/*/; do
  what=$(basename "$corpus")
  target="$build/fuzz/fuzz_$what"
  if [ ! -x "$target" ]; then echo "missing fuzz target $target"; status=1; continue; fi
  dirs=("$corpus")
  [ -d "fuzz/regressions/$what" ] && dirs+=("fuzz/regressions/$what")
  echo "-- fuzz_$what: $(find "${dirs[@]}" -type f | wc -l) inputs"
  "$target" -runs=0 -timeout=60 -artifact_prefix="$build/replay-$what-" "${dirs[@]}" >"$build/replay-$what.log" 2>&1 || { cat "$build/replay-$what.log"; status=1; }
done
exit $status
