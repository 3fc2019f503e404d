#!/usr/bin/env bash
# Sets up, builds and packs Plenaro as a Debian package: build/plenaro_<version>-1_<arch>.deb.
# Install it with: sudo apt-get install ./build/plenaro_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
cd build
cpack -G DEB
ls -1 "$PWD"/plenaro_*.deb
