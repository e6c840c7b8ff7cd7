#!/usr/bin/env bash
# Sets everything up and builds the Debian package of the two programs:
# build/package/veltrano_<version>_<architecture>.deb. Install it with
#   sudo apt install ./build/package/veltrano_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake --preset package
cmake --build --preset package -j "$(nproc)"
cd build/package
rm -f veltrano_*.deb
cpack -G DEB
ls "$PWD"/veltrano_*.deb
