#!/usr/bin/env bash
# Builds the Debian package build-paket/plenaro_<version>-1_<arch>.deb and checks it
# (tests/install/paket.sh: contents, hardening-check and lintian where they are installed).
# Install it with: sudo apt-get install ./build-paket/plenaro_*.deb
#
# The package is built in a folder of its own: Release, with Debian's hardening flags
# (dpkg-buildflags with hardening=+all), and without the tests, benchmarks and developer tools; the
# receiver simulator ships with the program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

bau=build-paket
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cflags() { dpkg-buildflags --get "$1"; }
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compiler's.
cxxflags="$(cflags CXXFLAGS) $(cflags CPPFLAGS)"
# Probes against stack clashes: part of hardening=+all from Debian 13 on, not yet in Debian 12's.
if [[ " $cxxflags " != *" -fstack-clash-protection "* ]] &&
    echo 'int main() {}' | c++ -fstack-clash-protection -x c++ -o /dev/null - 2>/dev/null; then
    cxxflags+=" -fstack-clash-protection"
fi
ldflags=$(cflags LDFLAGS)

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$bau" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
    -DBUILD_TESTING=OFF -DPLENARO_BENCHMARKS=OFF -DPLENARO_WERKZEUGE=OFF
cmake --build "$bau" --parallel "$(nproc)"

# The programs are stripped and lose .comment on the way into the package, and dpkg-shlibdeps
# names the packages of the libraries they link (cmake/Installation.cmake).
(cd "$bau" && cpack -G DEB)
tests/install/paket.sh "$bau" || [ $? -eq 77 ]
ls -1 "$PWD/$bau"/plenaro_*.deb
