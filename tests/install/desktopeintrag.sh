#!/usr/bin/env bash
# Checks the menu entry and the software-centre metadata with the freedesktop validators, and that
# the names they use fit together: the icon the entry names exists in the theme folders, the
# metadata launches this entry, the entry starts the installed program.
#   desktopeintrag.sh <packaging folder>
set -euo pipefail
verpackung=$1
id=example.plenaro.Plenaro
eintrag=$verpackung/$id.desktop
metadaten=$verpackung/$id.metainfo.xml

fehler=0
melden() {
    echo "$*" >&2
    fehler=1
}

for werkzeug in desktop-file-validate appstreamcli; do
    command -v "$werkzeug" >/dev/null || {
        echo "$werkzeug is missing: run tools/setup.sh (packages desktop-file-utils, appstream)" >&2
        exit 1
    }
done

# desktop-file-validate reports problems on stdout and only errors in its exit status; hints and
# warnings count here as well.
bericht=$(desktop-file-validate "$eintrag" 2>&1) || melden "desktop-file-validate failed"
[ -z "$bericht" ] || melden "$bericht"

appstreamcli validate --no-net --explain "$metadaten" || melden "appstreamcli validate failed"

wert() { sed -n "s/^$1=//p" "$eintrag" | head -n1; }
[ "$(wert Icon)" = "$id" ] || melden "Icon= should name the theme icon $id, not '$(wert Icon)'"
[ "$(wert Exec)" = "plenaro" ] || melden "Exec= should start the installed program plenaro, not '$(wert Exec)'"
for groesse in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256 512x512; do
    bild=$verpackung/icons/hicolor/$groesse/apps/$id.png
    if [ ! -f "$bild" ]; then
        melden "missing icon $bild"
    elif ! file -b "$bild" | grep -q "PNG image data, ${groesse/x/ x },"; then
        melden "$bild is not a ${groesse} PNG: $(file -b "$bild")"
    fi
done
[ -s "$verpackung/icons/hicolor/scalable/apps/$id.svg" ] || melden "missing scalable icon"

grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metadaten" ||
    melden "the metadata does not launch $id.desktop"
grep -q "<id>$id</id>" "$metadaten" || melden "the metadata's id is not $id"

exit $fehler
