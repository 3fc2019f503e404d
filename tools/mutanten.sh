#!/usr/bin/env bash
# Puts small faults into the code one at a time and tells how many of them the tests catch.
#
#   tools/mutanten.sh [--build DIR] [PATCH...]
#
# Each fault is a patch in tests/mutanten/ (all of them when none is named). Its first lines say
# which tests should catch it and what the fault is; git apply skips them:
#
#   # tests: tst_comport tst_spielablauf
#   # fault: the receiver's frame loses its last byte
#   diff --git a/src/... b/src/...
#
# For each patch the script applies it, builds the named tests incrementally, runs them, and takes
# the patch back out. A fault is caught when a named test fails; a patch that does not apply or
# does not build is a fault of the list and counts as not caught. Slow (minutes per fault): run it
# in a clone of its own, with a configured build, not beside a build someone is using.
set -uo pipefail
cd "$(dirname "$0")/.."

build=build
if [ "${1:-}" = --build ]; then
    build=$2
    shift 2
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "mutanten: no configured build in $build (run tools/build.sh first)" >&2
    exit 2
fi
patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=(tests/mutanten/*.patch)

aktiv=
zuruecknehmen() {
    if [ -n "$aktiv" ]; then
        git apply -R "$aktiv" || echo "mutanten: could not take back $aktiv; see git status" >&2
        aktiv=
    fi
}
trap zuruecknehmen EXIT
trap 'exit 130' INT TERM

gefangen=0
gesamt=0
entkommen=()
for patch in "${patches[@]}"; do
    gesamt=$((gesamt + 1))
    name=$(basename "$patch" .patch)
    tests=$(sed -n 's/^# tests: *//p' "$patch" | head -n 1)
    if [ -z "$tests" ]; then
        echo "?? $name: no '# tests:' line"
        entkommen+=("$name (no tests named)")
        continue
    fi
    if ! git apply --check "$patch" 2>/dev/null; then
        echo "?? $name: does not apply"
        entkommen+=("$name (does not apply)")
        continue
    fi
    git apply "$patch"
    aktiv=$patch
    # shellcheck disable=SC2086 # one test name a word
    if ! cmake --build "$build" --parallel "$(nproc)" --target $tests >"$build/mutant.log" 2>&1; then
        echo "?? $name: does not build (see $build/mutant.log)"
        entkommen+=("$name (does not build)")
        zuruecknehmen
        continue
    fi
    muster="^($(echo "$tests" | tr ' ' '|'))\$"
    if (cd "$build" && ctest --parallel 2 --timeout 300 -R "$muster" >mutant-tests.log 2>&1); then
        echo "-- $name: NOT caught by $tests"
        entkommen+=("$name")
    else
        echo "ok $name: caught"
        gefangen=$((gefangen + 1))
    fi
    zuruecknehmen
done

# The code is as it was; build it back so the next run and its tests start from the real thing.
cmake --build "$build" --parallel "$(nproc)" >"$build/mutant.log" 2>&1 || true

echo
echo "caught $gefangen of $gesamt faults ($((gesamt ? 100 * gefangen / gesamt : 0)) %)"
if [ ${#entkommen[@]} -gt 0 ]; then
    printf 'not caught: %s\n' "${entkommen[@]}"
    exit 1
fi
