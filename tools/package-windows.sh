#!/usr/bin/env bash
# Sets everything up and makes the Windows setup program of the two programs with NSIS:
# build/windows-gui/veltrano-<version>-setup.exe, from the tested windows-gui build (Qt and NLopt for
# Windows built from Debian's sources first, or found built). The setup program is not signed. The last
# line printed is its absolute path. docs/windows.md says what it installs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
bash tools/build-qt-windows.sh >/dev/null
bash tools/build-nlopt-windows.sh >/dev/null
cmake --preset windows-gui >/dev/null
cmake --build --preset windows-gui -j "$(nproc)" --target veltrano veltrano-cli windows-runtime

# The installed tree, stripped: the debug information stays with the build.
build=build/windows-gui
stage="$PWD/$build/setup-tree"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup="$PWD/$build/veltrano-$version-setup.exe"
rm -f "$setup"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$PWD/packaging/windows/veltrano.ico" \
  -DOUTFILE="$setup" packaging/windows/veltrano.nsi >&2
echo "$setup"
