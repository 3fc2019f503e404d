#!/usr/bin/env bash
# The package's texts agree with each other and with the programs: the Debian changelog and the
# metadata's newest release name the version being built, the licence is the same in the metadata,
# LICENSE and the copyright file, every licence the copyright file names is spelled out in it, and
# each manual page formats without warnings and describes every option its program's --help lists.
#   paketdateien.sh <repository root> <plenaro> <plenaro-simulator> <version> <package release>
set -euo pipefail
wurzel=$1
plenaro=$2
simulator=$3
version=$4
ausgabe=$5
verpackung=$wurzel/packaging

fehler=0
melden() {
    echo "FAIL: $*" >&2
    fehler=1
}

changelog=$(sed -n '1s/^plenaro (\([^)]*\)).*/\1/p' "$verpackung/changelog")
[ "$changelog" = "$version-$ausgabe" ] ||
    melden "packaging/changelog begins with $changelog, the package is $version-$ausgabe: add an entry"
veroeffentlicht=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$verpackung"/*.metainfo.xml | head -n1)
[ "$veroeffentlicht" = "$version" ] ||
    melden "the metadata's newest release is $veroeffentlicht, not $version"

lizenz=$(sed -n 's/.*<project_license>\(.*\)<\/project_license>.*/\1/p' "$verpackung"/*.metainfo.xml)
eigene=$(awk '/^Files: \*$/ { f = 1; next } f && /^License: / { print $2; exit }' "$verpackung/copyright")
# The copyright file spells licences the Debian way, the metadata the SPDX way.
dep5=$(echo "$lizenz" | sed -E 's/^(A?L?GPL)-([0-9])\.0-or-later$/\1-\2+/; s/^(A?L?GPL)-([0-9])\.0-only$/\1-\2/')
[ -n "$lizenz" ] && [ "$eigene" = "$dep5" ] ||
    melden "the copyright file gives the project's files '$eigene', the metadata '$lizenz'"
grep -qF -- "$lizenz" "$wurzel/LICENSE" || melden "LICENSE does not name $lizenz"
while read -r name; do
    grep -qx "License: $name" "$verpackung/copyright" ||
        melden "the copyright file names $name but gives no paragraph with its text"
done < <(awk '/^Files: / { f = 1 } /^$/ { f = 0 } f && /^License: / { print $2 }' "$verpackung/copyright" |
    sort -u)

# "man --warnings" reports what groff finds questionable; lintian checks the same.
for seite in plenaro plenaro-simulator; do
    quelle=$verpackung/$seite.1
    if command -v man >/dev/null; then
        warnungen=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$quelle" 2>&1 >/dev/null || true)
        [ -z "$warnungen" ] || melden "$seite.1: $warnungen"
    fi
    case $seite in plenaro) befehl=$plenaro ;; *) befehl=$simulator ;; esac
    seitentext=$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$quelle")
    while read -r option; do
        grep -qF -- "$option" <<<"$seitentext" || melden "$seite.1 does not describe $option"
    done < <(QT_QPA_PLATFORM=offscreen "$befehl" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
done

[ "$fehler" -eq 0 ] || exit 1
echo "changelog, release, licence and manual pages agree"
