#!/usr/bin/env bash
# Sets up, builds and starts Plenaro. On a first start it opens the bundled sample questions.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
# The web engine's sandbox refuses to run as root.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Plenaro in a virtual screen (xvfb-run)." >&2
    exec xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/plenaro "$@"
fi
exec build/bin/plenaro "$@"
