#!/usr/bin/env bash
# Rehearses a whole lesson N times in a row on a busy machine: the real program on a screen of its
# own with a window manager, 45 simulated handsets, two phones, real key presses (see
# tests/app/probestunde). Prints one line per run and "probe-lesson: N of M runs passed".
#   tools/probe-lesson.sh [--repeat N] [--size WxH] [--english] [--template Morvane|Tandrivelle|Kahoot]
set -euo pipefail
cd "$(dirname "$0")/.."

wiederholungen=1
groesse=3840x2160
sprache=de
vorlage=Morvane
while [ $# -gt 0 ]; do
    case $1 in
        --repeat) wiederholungen=$2; shift 2 ;;
        --size) groesse=$2; shift 2 ;;
        --english) sprache=en; shift ;;
        --template) vorlage=$2; shift 2 ;;
        *) echo "usage: $0 [--repeat N] [--size WxH] [--english] [--template NAME]" >&2; exit 2 ;;
    esac
done

tools/setup.sh
tools/build.sh >/dev/null

protokolle=$(mktemp -d)
bestanden=0
for ((lauf = 1; lauf <= wiederholungen; lauf++)); do
    protokoll=$protokolle/lauf-$lauf.txt
    if env QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
        QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --no-first-run" \
        PLENARO_PROBE="$groesse,$sprache,$vorlage" build/bin/tst_probestunde >"$protokoll" 2>&1; then
        bestanden=$((bestanden + 1))
        echo "run $lauf: passed"
    else
        echo "run $lauf: FAILED, see $protokoll"
        grep -E '^(FAIL|   Loc)' "$protokoll" | head -n 4 || true
    fi
done
echo "probe-lesson: $bestanden of $wiederholungen runs passed ($groesse, $sprache, $vorlage)"
[ "$bestanden" -eq "$wiederholungen" ]
