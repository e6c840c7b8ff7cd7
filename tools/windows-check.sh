#!/usr/bin/env bash
# The core and veltrano-cli on Windows: builds them for 64-bit Windows with MinGW-w64 (preset `windows`),
# runs the core tests under Wine, then evaluates the shipped designs and the test fixtures with the
# Windows and the Linux veltrano-cli. Windows' math library is not glibc's, so the results must agree
# within the model's shooting tolerance (1e-4 relative), not bit for bit; the largest difference is
# printed. Files that involve no calculation (new, build) must come out byte for byte the same.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS=0

bash tools/setup.sh
jobs=$(nproc)

# Wine in a prefix of its own, without a display and without the offers to install Mono and Gecko.
export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

echo "== Windows build of the core, veltrano-cli and the core tests"
cmake --preset windows
cmake --build --preset windows -j "$jobs"

echo "== Wine prefix"
wineboot --init
wineserver --wait

echo "== core tests under Wine"
ctest --preset windows -j "$jobs"

echo "== veltrano-cli on Windows against Linux"
[ -f build/default/build.ninja ] || cmake --preset default
cmake --build --preset default -j "$jobs" --target veltrano-cli
linux=build/default/apps/veltrano-cli
windows() { wine build/windows/apps/veltrano-cli.exe "$@"; }

out=build/windows/cli-check
rm -rf "$out"
mkdir -p "$out/designs" "$out/linux" "$out/windows" "$out/named"

# The designs, each made once by the Linux tool: the shipped ones, the defaults, the fixture files.
"$linux" build data/startup-designs.json "$out/designs/shipped.cig"
"$linux" new "$out/designs/default.cig"
cp fuzz/corpus/cigarette_file/default.cig "$out/designs/fixture.cig"
"$linux" import-legacy fuzz/corpus/legacy_file/typical.cig "$out/designs/legacy.cig" --models data/models.dat

for design in "$out"/designs/*.cig; do
  for models in data/models.dat tests/data/fixture-models.dat; do
    name="$(basename "$design" .cig)-$(basename "$models" .dat)"
    "$linux" evaluate "$design" --puffs --models "$models" > "$out/linux/$name.json"
    windows evaluate "$design" --puffs --models "$models" > "$out/windows/$name.json"
  done
done
python3 tools/compare-evaluations.py --tolerance 1e-4 "$out/linux" "$out/windows"

# No calculation, no difference: what the Windows tool writes is what the Linux tool writes.
windows build data/startup-designs.json "$out/named/shipped.cig"
windows new "$out/named/default.cig"
cmp "$out/designs/shipped.cig" "$out/named/shipped.cig"
cmp "$out/designs/default.cig" "$out/named/default.cig"

# A name outside every code page reaches the Windows tool through its UTF-16 command line.
unicode="$out/named/Prüfmuster € 名前.cig"
cp "$out/designs/shipped.cig" "$unicode"
LC_ALL=C.UTF-8 windows evaluate "$unicode" --puffs --models data/models.dat > "$out/named/unicode.json"
cmp "$out/windows/shipped-models.json" "$out/named/unicode.json"
echo "new, build and a Unicode file name: the same files and results as on Linux"

wineserver --wait
echo "== Windows check passed in ${SECONDS} s"
