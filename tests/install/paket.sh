#!/usr/bin/env bash
# Checks the Debian package that tools/package.sh made: it carries the programs, their manual
# pages, the copyright file and changelog, the menu entry and the type of question files; the
# programs are stripped, without the compiler's notes and without a library search path; and,
# where the tools are installed, hardening-check finds every protection and lintian neither an
# error nor a warning. Without a package there is nothing to check (status 77), and a missing tool
# skips its part (status 77 when nothing failed).
#   paket.sh <package file, or the folder tools/package.sh packs into>
set -euo pipefail
ziel=$1
if [ -d "$ziel" ]; then
    paket=$(find "$ziel" -maxdepth 1 -name 'plenaro_*.deb' -printf '%T@ %p\n' | sort -n | tail -n1 |
        cut -d' ' -f2-)
else
    paket=$ziel
fi
if [ -z "$paket" ] || [ ! -f "$paket" ]; then
    echo "no package in $ziel: tools/package.sh makes one"
    exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fehler=0
melden() {
    echo "FAIL: $*" >&2
    fehler=1
}
uebersprungen=0
vorhanden() {
    command -v "$1" >/dev/null && return 0
    echo "not checked, $1 is missing (Debian package $2)"
    uebersprungen=1
    return 1
}

echo "checking $paket"
dpkg-deb -x "$paket" "$tmp/inhalt"
for datei in usr/bin/plenaro usr/bin/plenaro-simulator usr/share/man/man1/plenaro.1.gz \
    usr/share/man/man1/plenaro-simulator.1.gz usr/share/doc/plenaro/copyright \
    usr/share/lintian/overrides/plenaro \
    usr/share/doc/plenaro/changelog.Debian.gz usr/share/mime/packages/plenaro.xml \
    usr/share/applications/example.plenaro.Plenaro.desktop \
    usr/share/metainfo/example.plenaro.Plenaro.metainfo.xml usr/share/plenaro/examples/EN/BspFragen.xml; do
    [ -s "$tmp/inhalt/$datei" ] || melden "not in the package: /$datei"
done

programme=("$tmp"/inhalt/usr/bin/*)
for programm in "${programme[@]}"; do
    name=/usr/bin/$(basename "$programm")
    abschnitte=$(readelf -SW "$programm")
    dynamisch=$(readelf -dW "$programm")
    grep -Eq ' \.(symtab|debug_[a-z]+) ' <<<"$abschnitte" && melden "$name is not stripped"
    grep -q ' \.comment ' <<<"$abschnitte" && melden "$name keeps the compiler's notes (.comment)"
    grep -Eq 'R(UN)?PATH' <<<"$dynamisch" && melden "$name carries a library search path"
done

if vorhanden hardening-check devscripts; then
    # A program is marked for control-flow protection (IBT, SHSTK) only when everything linked into
    # it is; where the C library's start files are not (Debian 12), no program can be.
    ohne=()
    if ! readelf -n "$(c++ -print-file-name=Scrt1.o)" 2>/dev/null | grep -q 'IBT, SHSTK'; then
        echo "control-flow protection not checked: the system's Scrt1.o carries no such mark"
        ohne=(--nocfprotection)
    fi
    hardening-check "${ohne[@]}" "${programme[@]}" >"$tmp/haertung" 2>&1 ||
        melden "hardening-check: $(grep -v ': yes' "$tmp/haertung")"
    cat "$tmp/haertung"
fi

if vorhanden lintian lintian; then
    lintian --fail-on error,warning --display-info --pedantic "$paket" >"$tmp/lintian" 2>&1 ||
        melden "lintian finds errors or warnings"
    cat "$tmp/lintian"
fi

[ "$fehler" -eq 0 ] || exit 1
[ "$uebersprungen" -eq 0 ] || exit 77
echo "package checked"
