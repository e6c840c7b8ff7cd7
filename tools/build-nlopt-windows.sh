#!/usr/bin/env bash
# NLopt for 64-bit Windows, built from Debian's source package (`apt-get source nlopt`) with the project's
# MinGW-w64 toolchain, so that design to targets is in the Windows build too.
#
# A static library of the C library alone (no C++ algorithms, no bindings, no tests): the Windows
# veltrano-cli and the core tests link statically and run under Wine without DLLs beside them, and stay
# so with NLopt in them. Most of NLopt is under the MIT licence; its Luksan algorithms are under the LGPL
# 2.1 or later, so the setup program ships licenses/ of the prefix (the licence texts and the note naming
# the source package) as it does for Qt.
#
# The prefix is ${XDG_CACHE_HOME:-~/.cache}/veltrano/nlopt-windows/<NLopt version>-<hash of the source
# version and the options below>, with a stamp written last; with the stamp there the script does
# nothing. The last line of the output is the prefix; its lib/cmake/nlopt/NLoptConfig.cmake gives the
# target NLopt::nlopt. With --prefix it only prints the prefix, and fails when NLopt is not built there.
set -euo pipefail
source "$(dirname "$0")/windows-deps.sh"
SECONDS=0

# Everything that decides what is built, in one place: the prefix's hash comes from this list.
nlopt_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DNLOPT_CXX=OFF
  -DNLOPT_FORTRAN=OFF
  -DNLOPT_PYTHON=OFF
  -DNLOPT_OCTAVE=OFF
  -DNLOPT_MATLAB=OFF
  -DNLOPT_GUILE=OFF
  -DNLOPT_SWIG=OFF
  -DNLOPT_TESTS=OFF
)

require_sources nlopt
version=$(source_version nlopt)
build_description="source: nlopt $version
$(option_lines "${nlopt_options[@]}")"
prefix="$cache_root/nlopt-windows/$(upstream_version "$version")-$(key_of <<<"$build_description")"
work="$prefix.work"
case "${1:-}" in
  --prefix) print_built_prefix "$prefix" "tools/build-nlopt-windows.sh"; exit ;;
  "") ;;
  *) die "unknown argument $1" ;;
esac

if [ -f "$prefix/$stamp_name" ]; then
  say "NLopt for Windows is there (stamp $prefix/$stamp_name)"
else
  say "building NLopt for Windows from nlopt $version into $prefix"
  rm -rf "$prefix"
  src=$(fetch_source nlopt "$version" "$work/src")
  cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    "${nlopt_options[@]}"
  cmake --build "$work/build" -j "$jobs"
  cmake --install "$work/build"

  mkdir -p "$prefix/licenses/nlopt"
  cp "$src/COPYING" "$src/COPYRIGHT" "$src/debian/copyright" "$prefix/licenses/nlopt/"
  cat > "$prefix/licenses/nlopt/SOURCE.txt" <<EOF
NLopt is linked into the program from a static library built without changes from Debian's source
package nlopt, version $version (Debian 12 "bookworm"): \`apt-get source nlopt=$version\`, or
https://sources.debian.org/src/nlopt/$version/ . Most of NLopt is under the MIT licence; the
files of src/algs/luksan are under the GNU LGPL 2.1 or later (see copyright). It was built with
$(compiler_note)
and the CMake options below.

$build_description
EOF
  echo "$build_description" > "$prefix/$stamp_name"
  rm -rf "$work"
  say "NLopt for Windows ready in ${SECONDS} s"
fi
echo "$prefix"
