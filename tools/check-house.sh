#!/usr/bin/env bash
# The house rules a compiler does not check: includes that follow the libraries' layers and make no circles, every C++ file
# formatted with the project's style, and a command-line tool that does not drag in the widget toolkit.
# Usage: tools/check-house.sh [BUILD_DIR]   (BUILD_DIR holds a built apps/veltrano-cli; default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
status=0

python3 tools/check-includes.py || status=1

unformatted=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | grep -o '^[^:]*:[0-9]*:[0-9]*: warning' | cut -d: -f1 | sort -u || true)
if [ -n "$unformatted" ]; then
  echo "not formatted with .clang-format (run clang-format -i on them):"
  echo "$unformatted" | sed 's/^/  /'
  status=1
fi

cli=$(find "$build" -type f -name veltrano-cli -perm -u+x | head -n1)
if [ -z "$cli" ]; then
  echo "no veltrano-cli under $build"
  status=1
elif ldd "$cli" | grep -q 'libQt6Widgets'; then
  echo "$cli links Qt Widgets; the command-line tool must run without them"
  status=1
fi

[ $status -eq 0 ] && echo "house rules hold"
exit $status
