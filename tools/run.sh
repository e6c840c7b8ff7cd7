#!/usr/bin/env bash
# Sets everything up, builds and starts the program in a copy of data/, so that nothing the program
# writes into its working directory touches the tracked files.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target veltrano

workdir=build/default/run
mkdir -p "$workdir"
cp -f data/models.dat data/Startup_cigarette.dat "$workdir"/
cd "$workdir"
exec ../apps/veltrano "$@"
