#!/usr/bin/env bash
# Veltrano on Windows, checked here under Wine (docs/windows.md):
# - the core and veltrano-cli without Qt (preset `windows`): built for 64-bit Windows with MinGW-w64, the
#   core tests under Wine, the shipped designs and the test fixtures evaluated with the Windows and the
#   Linux veltrano-cli. Windows' math library is not glibc's, so the results must agree within the model's
#   shooting tolerance (1e-4 relative), not bit for bit; the largest difference is printed. Files that
#   involve no calculation (new, build) must come out byte for byte the same.
# - the desktop program (preset `windows-gui`): Qt and NLopt for Windows built from Debian's sources (or
#   found built, or unpacked from ../shared/qt-windows), the program, veltrano-cli with its drawing
#   commands and the core, render and ui tests; the tests under Wine, veltrano-cli.exe's drawings against
#   the Linux ones; the setup program installed and uninstalled in a new Wine prefix
#   (tools/windows-setup-check.sh); the program itself driven on a virtual display as a user drives it,
#   beside the Linux program (tools/windows-gui-check.sh).
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
cmake --build --preset default -j "$jobs" --target veltrano-cli veltrano
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
echo "== the core and veltrano-cli for Windows checked in ${SECONDS} s"

echo "== Qt and NLopt for Windows, from Debian's sources"
bash tools/build-qt-windows.sh
bash tools/build-nlopt-windows.sh

echo "== Windows build of the desktop program, veltrano-cli with its drawing commands and the tests"
cmake --preset windows-gui
cmake --build --preset windows-gui -j "$jobs"

echo "== core, render and ui tests under Wine"
export WINEPREFIX="$PWD/build/windows-gui/wine"
wineboot --init
wineserver --wait
ctest --preset windows-gui -j "$jobs"

echo "== veltrano-cli.exe draws its texts in the shipped fonts as the Linux tool does"
drawn=build/windows-gui/drawings
rm -rf "$drawn"
mkdir -p "$drawn"
"$linux" build data/startup-designs.json "$drawn/designs.cig" --models data/models.dat
# The summary view: its rows stand where the layout puts them (the listing's follow the font's line
# height, which Windows' offscreen platform rounds otherwise, so its lines drift apart).
for view in summary; do
  "$linux" render "$drawn/designs.cig" --view "$view" "$drawn/$view-linux.png" --models data/models.dat
  wine build/windows-gui/bin/veltrano-cli.exe render "$drawn/designs.cig" --view "$view" \
    "$drawn/$view-windows.png" --models data/models.dat
  # The texts are the same glyphs, but Windows' offscreen platform smooths their edges otherwise: the
  # pictures are compared at a quarter of their size, where the edges blur away and empty boxes (no
  # fonts found) still stand out (about 1,800 pixels of the summary view against a handful).
  for system in linux windows; do
    convert "$drawn/$view-$system.png" -scale 25% "$drawn/$view-$system-small.png"
  done
  pixels=$(identify -format "%[fx:w*h]" "$drawn/$view-linux-small.png")
  differing=$(compare -metric AE -fuzz 20% "$drawn/$view-linux-small.png" "$drawn/$view-windows-small.png" \
    null: 2>&1 || true)
  echo "$view: $differing of $pixels pixels differ at a quarter of the size"
  [ "${differing%.*}" -le $((pixels / 200)) ] || {
    echo "error: veltrano-cli.exe draws the $view view otherwise than the Linux tool" >&2
    exit 1
  }
done
wineserver --wait

echo "== the program under Wine on a virtual display: start-up, readable texts, views, sheet, Save As"
bash tools/windows-gui-check.sh

echo "== the setup program, installed and uninstalled in a new Wine prefix"
bash tools/windows-setup-check.sh
echo "== Windows check passed in ${SECONDS} s"
