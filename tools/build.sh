#!/usr/bin/env bash
# Configures and builds Plenaro into build/ (the program lands in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
# A compiler cache makes rebuilds of unchanged files free when one is installed.
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}"
cmake --build build --parallel "$(nproc)"
