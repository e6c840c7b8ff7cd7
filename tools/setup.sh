#!/usr/bin/env bash
# Installs every Debian package that building, testing and working on Veltrano needs.
# Safe to run again: apt-get skips what is already there, the locale is made once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build git pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxkbcommon-dev
  fonts-liberation2 fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libnlopt-dev nlohmann-json3-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth openbox imagemagick xdotool poppler-utils librsvg2-bin xclip tesseract-ocr tesseract-ocr-eng
  locales python3
  dpkg-dev file desktop-file-utils appstream shared-mime-info groff-base
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine googletest nsis
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's source packages (`apt-get source`): the Windows builds of Qt and NLopt
# (tools/build-qt-windows.sh, tools/build-nlopt-windows.sh) start from them. A deb-src entry beside
# each of the machine's deb entries, added once.
if ! grep -sqE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | $SUDO tee /etc/apt/sources.list.d/veltrano-deb-src.sources >/dev/null
  else
    grep -hE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list \
      | sed -E 's/^([[:space:]]*)deb[[:space:]]/\1deb-src /' \
      | $SUDO tee /etc/apt/sources.list.d/veltrano-deb-src.list >/dev/null
  fi
  $SUDO apt-get update -qq
fi

# A comma-decimal locale, so tests can prove the number handling ignores the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || {
    $SUDO sed -i 's/^# *de_DE.UTF-8/de_DE.UTF-8/' /etc/locale.gen && $SUDO locale-gen
  }
fi
