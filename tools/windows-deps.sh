# The common part of tools/build-qt-windows.sh and tools/build-nlopt-windows.sh, which build libraries
# for the Windows build from Debian's own source packages with the project's MinGW-w64 toolchain.
# Sourced by them, not run.
#
# Each library goes into a cache folder named by its version and a hash of its build description (its
# source packages and their versions and its configure options, one a line). The stamp, written last, holds
# that description; a folder with a stamp is complete and is used as it is.

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
toolchain="$repo/cmake/mingw-w64-x86_64.toolchain.cmake"
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/veltrano"
stamp_name=.build-complete
jobs=$(nproc)

# The work folders' names hold the hash, and the compilers see absolute paths: ccache reuses its results
# across work folders (and cache roots) only with the paths made relative to them.
export CCACHE_BASEDIR="$cache_root"

say() { echo "-- $*" >&2; }
die() { echo "error: $*" >&2; exit 1; }

# source_version PACKAGE: the version `apt-get source PACKAGE` fetches, from the package lists alone
# (no download); empty when the lists know no such source package.
source_version() {
  apt-get source --print-uris -qq "$1" 2>/dev/null \
    | sed -nE "s/^'[^']*' ${1}_([^ ]+)\.dsc .*/\1/p" | head -n1
}

# upstream_version VERSION: 6.4.2+dfsg-10 -> 6.4.2
upstream_version() { local v="${1#*:}"; v="${v%-*}"; echo "${v%%+*}"; }

# option_lines OPTION...: the options of a build description, one a line.
option_lines() {
  local o
  for o in "$@"; do echo "option: $o"; done
}

# print_built_prefix PREFIX SCRIPT: prints PREFIX when its build is complete; fails naming the script
# that builds it otherwise.
print_built_prefix() {
  [ -f "$1/$stamp_name" ] || die "$1 holds no finished build: run $2 first"
  echo "$1"
}

key_of() { sha256sum | cut -c1-12; }

# fetch_source PACKAGE VERSION DIR: `apt-get source` of exactly that version into DIR (apt checks the
# checksums the signed lists give); prints the unpacked source folder. Fails when the files cannot be
# fetched. Needs the deb-src entries tools/setup.sh adds, no root.
fetch_source() {
  local package="$1" version="$2" dir="$3"
  mkdir -p "$dir"
  (cd "$dir" && apt-get source -qq "$package" >&2) || return 1
  [ -f "$dir/${package}_${version#*:}.dsc" ] \
    || die "apt-get source $package fetched another version than the lists name ($version)"
  find "$dir" -mindepth 1 -maxdepth 1 -type d -name "${package}-*" | head -n1
}

# The MinGW-w64 compilers and their Debian versions, for the notes.
compiler_note() {
  echo "MinGW-w64 GCC $(x86_64-w64-mingw32-gcc-posix -dumpversion) (Debian's" \
    "g++-mingw-w64-x86-64-posix $(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)," \
    "mingw-w64-x86-64-dev $(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev))"
}

require_sources() {
  local package
  for package in "$@"; do
    [ -n "$(source_version "$package")" ] \
      || die "apt knows no source package $package: run tools/setup.sh (it adds the deb-src entries)"
  done
}
