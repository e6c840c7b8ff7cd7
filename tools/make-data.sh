#!/usr/bin/env bash
# Regenerates the program's data files from their readable sources, with the tools of the normal build:
#   data/model-parameters.csv   from tools/derive-model-parameters.py (coefficient forms and their sources)
#   data/models.dat             from data/model-parameters.csv (make-models-dat)
#   data/Startup_cigarette.dat  from data/startup-designs.json (veltrano-cli build, then startup: the
#                               designs recalculated with data/models.dat and the current design analysed
#                               puff by puff)
# The calibration tests check the results: ctest --preset default -R "Calibration|ShippedData"
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/default
[ -f "$build/build.ninja" ] || cmake --preset default
cmake --build "$build" --target make-models-dat veltrano-cli

python3 tools/derive-model-parameters.py > data/model-parameters.csv
"$build/tools/make-models-dat" data/model-parameters.csv data/models.dat

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/apps/veltrano-cli" build data/startup-designs.json "$work/startup.cig"
"$build/apps/veltrano-cli" startup "$work/startup.cig" data/Startup_cigarette.dat --models data/models.dat
echo "data/model-parameters.csv, data/models.dat and data/Startup_cigarette.dat regenerated"
