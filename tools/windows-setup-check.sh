#!/usr/bin/env bash
# The Windows setup program in a new Wine prefix, as a user's machine sees it: it makes the setup program
# (tools/package-windows.sh), installs it silently, runs the installed veltrano-cli.exe from a folder
# without data files (the installed data must be found), looks at the .cig file type, the Start menu
# entry and the Apps & Features entry, uninstalls silently and checks that the programs, the file type
# and the entry are gone. Needs the default build's veltrano-cli for a design file.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS=0

setup=$(bash tools/package-windows.sh | tail -n1)
[ -f "$setup" ] || { echo "error: tools/package-windows.sh made no setup program" >&2; exit 1; }
echo "-- $setup: $(stat -c %s "$setup") bytes"

out="$PWD/build/windows-gui/setup-check"
rm -rf "$out"
mkdir -p "$out/work"
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
wineboot --init > "$out/wineboot.log" 2>&1
wineserver --wait

fail() {
  echo "error: $*" >&2
  exit 1
}
installed="$WINEPREFIX/drive_c/Program Files/veltrano"
key_cig='HKLM\Software\Classes\.cig'
key_class='HKLM\Software\Classes\korbinel.veltrano.cig'
key_entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\veltrano'
# query KEY: the key's values as reg.exe lists them; fails when the key is not there.
query() { wine reg query "$1" /s 2> /dev/null | tr -d '\r'; }

echo "== silent install"
wine "$setup" /S
wineserver --wait
for file in bin/veltrano.exe bin/veltrano-cli.exe bin/Qt6Widgets.dll bin/platforms/qwindows.dll \
  bin/fonts/LiberationSans-Regular.ttf share/veltrano/models.dat share/veltrano/Startup_cigarette.dat \
  licenses/qt6-base/LGPL-3.0-only.txt uninstall.exe; do
  [ -f "$installed/$file" ] || fail "the setup program installed no $file"
done
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/veltrano.lnk" ] \
  || fail "no Start menu entry"

# The installed tool finds the installed data from a folder that has none.
build/default/apps/veltrano-cli build data/startup-designs.json "$out/work/design.cig"
(cd "$out/work" && wine 'C:\Program Files\veltrano\bin\veltrano-cli.exe' evaluate design.cig) \
  > "$out/installed.json"
wine build/windows-gui/bin/veltrano-cli.exe evaluate "$out/work/design.cig" --models data/models.dat \
  > "$out/built.json"
cmp "$out/built.json" "$out/installed.json" \
  || fail "the installed veltrano-cli.exe evaluates otherwise than the build's with data/models.dat"
[ ! -e "$out/work/models.dat" ] || fail "the working folder was to hold no data files"

query "$key_cig" | grep -q 'korbinel.veltrano.cig' || fail ".cig does not name the program's file type"
query "$key_class" | grep -qF '"C:\Program Files\veltrano\bin\veltrano.exe" "%1"' \
  || fail "opening a .cig file does not run veltrano.exe FILE"
for value in 'DisplayName.*veltrano 4.1' 'UninstallString.*uninstall.exe' 'Publisher.*korbinel'; do
  query "$key_entry" | grep -q "$value" || fail "the Apps & Features entry has no $value"
done
echo "installed: programs, data, licences, Start menu entry, file type and Apps & Features entry"

echo "== silent uninstall"
# The uninstaller copies itself to TEMP, starts the copy and returns at once: wait for Wine's processes.
wine "$installed/uninstall.exe" /S
wineserver --wait
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | head -n5 | tr '\n' ' ')"
[ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/veltrano.lnk" ] \
  || fail "the Start menu entry is still there"
query "$key_class" > /dev/null && fail "the program's file type is still registered"
query "$key_cig" | grep -q 'korbinel.veltrano.cig' && fail ".cig still names the program's file type"
query "$key_entry" > /dev/null && fail "the Apps & Features entry is still there"
echo "uninstalled: programs, file type and entry gone"
echo "== Windows setup program checked in ${SECONDS} s"
