#!/usr/bin/env bash
# Qt for 64-bit Windows, built from Debian's own Qt sources (`apt-get source qt6-base`, the Qt of the
# Linux build) with the project's MinGW-w64 toolchain, as shared DLLs. Qt is under the LGPL: the Windows
# setup program ships the DLLs with Qt's licence texts and the note naming the source package and its
# version (all in licenses/ of the prefix), so a user can rebuild them and replace them. Debian's Qt
# host tools (moc, rcc, uic) do the host side of the build.
#
# The prefix is ${XDG_CACHE_HOME:-~/.cache}/veltrano/qt-windows/<Qt version>-<hash of the source versions
# and the options below>. Its stamp is written last; with the stamp there the script does nothing. A
# ready build in ../shared/qt-windows (beside the repository; made with --pack) whose README lists the
# same source versions and options is unpacked instead of building.
#
# Qt SVG is built into the same prefix when `apt-get source qt6-svg` can fetch its files. When it
# cannot, the prefix has no lib/cmake/Qt6Svg and the Windows build leaves SVG export out; the prefix
# stays so until it is deleted (or the version of qt6-svg in Debian's lists changes).
#
#   tools/build-qt-windows.sh             build Qt, or find it built; the last line is the prefix
#   tools/build-qt-windows.sh --pack DIR  also write the build to DIR as <name>.tar.xz and <name>.README,
#                                         for ../shared/qt-windows
#   tools/build-qt-windows.sh --prefix    only print the prefix, and fail when Qt is not built there
set -euo pipefail
source "$(dirname "$0")/windows-deps.sh"
SECONDS=0

pack_dir=""
prefix_only=""
case "${1:-}" in
  --pack) pack_dir="${2:?--pack needs a folder}" ;;
  --prefix) prefix_only=1 ;;
  "") ;;
  *) die "unknown argument $1" ;;
esac

# Everything that decides what is built, in one place: the prefix's hash and the match with a shared
# build both come from this list.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_EXAMPLES=OFF
  # What the program does not use.
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_vulkan=OFF
  # No OpenGL of any kind: INPUT_opengl=no also turns off opengl_dynamic, which FEATURE_opengl=OFF alone
  # leaves on (QT_OPENGL_DYNAMIC beside QT_NO_OPENGL in qtgui-config.h). Without OpenGL, 6.4.2's Windows
  # platform plugin does not compile with dynamicgl left on.
  -DINPUT_opengl=no
  -DFEATURE_opengl=OFF
  -DFEATURE_dynamicgl=OFF
  # Debian's repack of the sources drops the tablet headers the Windows platform plugin includes.
  -DFEATURE_tabletevent=OFF
  # Qt's own zlib, not MinGW's, which would be a DLL more to ship.
  -DFEATURE_system_zlib=OFF
)

require_sources qt6-base
base_version=$(source_version qt6-base)
svg_version=$(source_version qt6-svg)
qt_version=$(upstream_version "$base_version")
build_description="source: qt6-base $base_version
source: qt6-svg ${svg_version:-(none)}
$(option_lines "${qt_options[@]}")"
key="$qt_version-$(key_of <<<"$build_description")"
prefix="$cache_root/qt-windows/$key"
work="$cache_root/qt-windows/work-$key"
shared="$repo/../shared/qt-windows"

# pack: the finished prefix (without its stamp) as a tarball, and a README with the build description
# and the tarball's checksum.
pack() {
  mkdir -p "$pack_dir"
  local tarball="$pack_dir/qt-windows-$key.tar.xz"
  tar -C "$prefix" --exclude="./$stamp_name" -cf - . | xz -T"$jobs" > "$tarball"
  { echo "$build_description"; echo "archive-sha256: $(sha256sum < "$tarball" | cut -d' ' -f1)"; } \
    > "$pack_dir/qt-windows-$key.README"
  say "packed into $tarball"
}

# unpack_shared: unpacks a shared build whose README lists exactly this build description; fails when
# there is none.
unpack_shared() {
  local readme tarball
  for readme in "$shared"/*.README; do
    [ -f "$readme" ] || continue
    [ "$(grep -v '^archive-sha256: ' "$readme")" = "$build_description" ] || continue
    tarball="${readme%.README}.tar.xz"
    [ -f "$tarball" ] || continue
    if [ "$(sha256sum < "$tarball" | cut -d' ' -f1)" != "$(sed -n 's/^archive-sha256: //p' "$readme")" ]; then
      say "$tarball does not match the checksum in its README; not used"
      continue
    fi
    say "unpacking the shared build $tarball"
    mkdir -p "$prefix"
    tar -C "$prefix" -xJf "$tarball"
    return 0
  done
  return 1
}

# build_module PACKAGE VERSION SOURCE: configures, builds and installs a Qt module from its unpacked
# source package into the prefix, against the Qt there.
build_module() {
  local package="$1" version="$2" src="$3"
  say "building $package $version"
  cmake -S "$src" -B "$work/build-$package" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
  cmake --build "$work/build-$package" -j "$jobs"
  cmake --install "$work/build-$package"
  install_licences "$src" "$package" "$version"
}

# install_licences SOURCE PACKAGE VERSION: the licence texts of a source package and Debian's copyright
# file (which says which files are under which licence) into licenses/PACKAGE of the prefix.
install_licences() {
  local dir="$prefix/licenses/$2"
  mkdir -p "$dir"
  if [ -d "$1/LICENSES" ]; then cp "$1"/LICENSES/* "$dir/"; fi
  find "$1" -maxdepth 1 -name 'LICENSE*' -type f -exec cp {} "$dir/" \;
  cp "$1/debian/copyright" "$dir/copyright"
}

write_note() {
  local svg_line
  if [ -f "$prefix/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]; then
    svg_line="Qt SVG was built the same way from Debian's source package qt6-svg, version $svg_version."
  else
    svg_line="Qt SVG is not part of this build: the files of Debian's source package qt6-svg ${svg_version:-(none)}
could not be fetched."
  fi
  cat > "$prefix/licenses/qt6-base/SOURCE.txt" <<EOF
The Qt libraries (DLLs and plugins) shipped with this program are Qt $qt_version, built without changes
from Debian's source package qt6-base, version $base_version (Debian 12 "bookworm").
$svg_line

Qt is used under the GNU LGPL version 3 (LGPL-3.0-only.txt); Debian's copyright file lists the licence
of each file. The sources: \`apt-get source qt6-base=$base_version\` on Debian, or
https://sources.debian.org/src/qt6-base/$base_version/ . They were built with
$(compiler_note),
Debian's Qt $qt_version host tools and the CMake options below. Qt $qt_version built the same way (or
otherwise, with the same compiler) can replace the DLLs beside the program.

$build_description
EOF
}

if [ -n "$prefix_only" ]; then print_built_prefix "$prefix" "tools/build-qt-windows.sh"; exit; fi

# Precompiled headers, which Qt's build uses, reach ccache's cache only with these.
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros,include_file_mtime,include_file_ctime"

if [ -f "$prefix/$stamp_name" ]; then
  say "Qt $qt_version for Windows is there (stamp $prefix/$stamp_name)"
else
  rm -rf "$prefix"
  if [ -d "$shared" ] && unpack_shared; then
    :
  else
    say "building Qt $qt_version for Windows from qt6-base $base_version into $prefix"
    src=$(fetch_source qt6-base "$base_version" "$work/src-qt6-base")
    cmake -S "$src" -B "$work/build-qt6-base" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
      "${qt_options[@]}"
    cmake --build "$work/build-qt6-base" -j "$jobs"
    cmake --install "$work/build-qt6-base"
    install_licences "$src" qt6-base "$base_version"

    if [ -n "$svg_version" ] && svg_src=$(fetch_source qt6-svg "$svg_version" "$work/src-qt6-svg"); then
      build_module qt6-svg "$svg_version" "$svg_src"
    else
      say "Qt SVG: the source package qt6-svg ${svg_version:-(none)} could not be fetched;" \
        "this Qt has no Qt6Svg, and the Windows build leaves SVG export out"
    fi
    write_note
  fi
  echo "$build_description" > "$prefix/$stamp_name"
  rm -rf "$work"
  say "Qt for Windows ready in ${SECONDS} s"
fi

if [ ! -f "$prefix/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]; then
  say "this Qt has no Qt SVG (no lib/cmake/Qt6Svg): the Windows build leaves SVG export out"
fi
if [ -n "$pack_dir" ]; then pack; fi
echo "$prefix"
