#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build with all tests, the core and its tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, one pass of every fuzz target over its corpus,
# and the Windows builds under Wine: the core and veltrano-cli with their tests, the desktop program with
# its tests, and its setup program installed and uninstalled.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
jobs=$(nproc)

echo "== normal build and tests"
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

echo "== house rules: no include cycles, formatted sources, a command-line tool without widgets"
bash tools/check-house.sh build/default

echo "== core and its tests under the sanitizers"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

echo "== the ui and its tests under the sanitizers (every view and the printed page over the model's fuzz corpus among them)"
cmake --preset asan-ui
cmake --build --preset asan-ui -j "$jobs"
ctest --preset asan-ui -j "$jobs"

if [ -d fuzz ] && ls fuzz/*/ >/dev/null 2>&1; then
  echo "== fuzz corpus replay"
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$jobs"
  bash tools/fuzz-replay.sh build/fuzz
fi

echo "== the core, veltrano-cli and the desktop program for Windows, under Wine"
bash tools/windows-check.sh
echo "== all tests passed"
