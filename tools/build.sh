#!/usr/bin/env bash
# Configures and builds Plenaro into build/ (the program lands in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}"
cmake --build build --parallel "$(nproc)"
