#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless.
#
# tools/test.sh --stress [N] runs the suite N times (default 3) while one busy loop per core keeps
# the machine as busy as a teacher's laptop during a lesson; a test that passes only on an idle
# machine fails here. Further arguments go to ctest in both forms.
set -euo pipefail
cd "$(dirname "$0")/.."

runden=0
if [ "${1:-}" = --stress ]; then
    shift
    runden=3
    if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
        runden=$1
        shift
    fi
    if [ "$runden" -lt 1 ]; then
        echo "stress: at least one round" >&2
        exit 2
    fi
fi

tools/setup.sh --tests
tools/build.sh
cd build
if [ "$runden" -eq 0 ]; then
    ctest --output-on-failure --parallel 2 "$@"
    exit
fi

# The busy loops run at the tests' own priority and end with the script, however it ends. ctest
# runs in the background: a shell waiting for a command in the foreground lets Ctrl-C pass when
# the command survives it, and ctest does, so the rounds would go on.
last=()
ctest_pid=
last_beenden() {
    if [ ${#last[@]} -gt 0 ]; then
        kill "${last[@]}" 2>/dev/null || true
        wait "${last[@]}" 2>/dev/null || true
        last=()
    fi
}
abbrechen() {
    if [ -n "$ctest_pid" ]; then
        # shellcheck disable=SC2046 # one process id a word
        kill $(pgrep -P "$ctest_pid") "$ctest_pid" 2>/dev/null || true
        wait "$ctest_pid" 2>/dev/null || true
    fi
    exit "$1"
}
trap last_beenden EXIT
trap 'abbrechen 130' INT
trap 'abbrechen 143' TERM
kerne=$(nproc)
for _ in $(seq "$kerne"); do
    (while :; do :; done) &
    last+=($!)
done

bestanden=0
for runde in $(seq "$runden"); do
    echo "stress: round $runde of $runden, $kerne busy loops"
    ctest --output-on-failure --parallel 2 "$@" &
    ctest_pid=$!
    if wait "$ctest_pid"; then
        bestanden=$((bestanden + 1))
        echo "stress: round $runde passed"
    else
        echo "stress: round $runde failed"
    fi
    ctest_pid=
done
last_beenden
echo "stress: $bestanden of $runden rounds passed"
[ "$bestanden" -eq "$runden" ]
