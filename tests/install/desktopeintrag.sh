#!/usr/bin/env bash
# Checks the menu entry, the software-centre metadata and the type of question files with the
# freedesktop tools, and that the names they use fit together: the icon the entry names exists in
# the theme folders, the metadata launches this entry, the entry starts the installed program with
# the file it is given and claims the type the type definition declares, and the desktop tells
# question files from other XML files by their content and opens them with this entry.
# A part whose tool is missing is skipped (status 77 when nothing failed).
#   desktopeintrag.sh <packaging folder> <examples folder>
set -euo pipefail
verpackung=$1
beispiele=$2
id=example.plenaro.Plenaro
eintrag=$verpackung/$id.desktop
metadaten=$verpackung/$id.metainfo.xml
typen=$verpackung/mime/plenaro.xml
typ=application/x-plenaro-fragen

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fehler=0
melden() {
    echo "$*" >&2
    fehler=1
}
uebersprungen=0
vorhanden() {
    local werkzeug
    for werkzeug in "$@"; do
        if ! command -v "$werkzeug" >/dev/null; then
            echo "not checked, $werkzeug is missing (tools/setup.sh installs it)"
            uebersprungen=1
            return 1
        fi
    done
}

# desktop-file-validate reports problems on stdout and only errors in its exit status; hints and
# warnings count here as well.
if vorhanden desktop-file-validate; then
    bericht=$(desktop-file-validate "$eintrag" 2>&1) || melden "desktop-file-validate failed"
    [ -z "$bericht" ] || melden "$bericht"
fi

# Pedantic: every remark counts but these, which concern the component id. It stays as it is: the
# entry, the icons and the running window are named by it.
#   cid-maybe-not-rdns              plenaro.example is a placeholder domain
#   cid-contains-uppercase-letter   the id keeps the program's name as it is written
#   unknown-tag developer           the newer form beside developer_name, unknown before AppStream 1.0
if vorhanden appstreamcli; then
    bericht=$(appstreamcli validate --pedantic --no-net --no-color "$metadaten" 2>&1) ||
        melden "appstreamcli validate failed: $bericht"
    bemerkungen=$(grep -E '^[EWIP]: ' <<<"$bericht" |
        grep -Ev ': (cid-maybe-not-rdns|cid-contains-uppercase-letter|unknown-tag developer)( |$)' || true)
    [ -z "$bemerkungen" ] || melden "appstreamcli validate --pedantic: $bemerkungen"
fi

wert() { sed -n "s/^$1=//p" "$eintrag" | head -n1; }
[ "$(wert Icon)" = "$id" ] || melden "Icon= should name the theme icon $id, not '$(wert Icon)'"
[ "$(wert Exec)" = "plenaro %f" ] ||
    melden "Exec= should start the installed program plenaro with one file, not '$(wert Exec)'"
erklaert=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1;/p' "$typen" | tr -d '\n')
[ "$(wert MimeType)" = "$erklaert" ] && [ "$erklaert" = "$typ;" ] ||
    melden "MimeType= '$(wert MimeType)' is not the type declared in $typen ('$erklaert')"
grep -q "<mediatype>$typ</mediatype>" "$metadaten" || melden "the metadata does not provide $typ"
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

# The desktop as a user's session sees it after installing: the type and the entry in a data
# folder of their own. xdg-mime asks GLib's gio, as GNOME, Xfce and others do.
if vorhanden xdg-mime gio update-mime-database update-desktop-database; then
    daten=$tmp/daten
    mkdir -p "$daten/mime/packages" "$daten/applications" "$tmp/dateien"
    cp "$typen" "$daten/mime/packages/"
    cp "$eintrag" "$daten/applications/"
    update-mime-database "$daten/mime" >/dev/null 2>&1 || melden "update-mime-database refused $typen"
    update-desktop-database "$daten/applications" || melden "update-desktop-database failed"
    # name | content (printf format)
    while IFS='|' read -r name inhalt; do
        [ -n "$name" ] || continue
        # shellcheck disable=SC2059 # the content is a format of the table
        printf "$inhalt" >"$tmp/dateien/$name"
    done <<'TABELLE'
kurz.xml|<?xml version="1.0"?>\n<ArrayOfQuestion/>\n
zeilen.xml|\xef\xbb\xbf<?xml version="1.0" encoding="utf-8"?>\r\n<!-- Kommentar -->\r\n<ArrayOfQuestion\r\n  xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">\r\n</ArrayOfQuestion>
ohne-endung|<?xml version="1.0"?>\n<ArrayOfQuestion>\n</ArrayOfQuestion>\n
anderes.xml|<?xml version="1.0"?>\n<svg xmlns="http://www.w3.org/2000/svg"/>\n
aehnlich.xml|<?xml version="1.0"?>\n<ArrayOfQuestions>\n</ArrayOfQuestions>\n
nackt.xml|<Liste/>\n
TABELLE
    cp "$beispiele/DE/BspFragen.xml" "$tmp/dateien/de.xml"
    cp "$beispiele/EN/BspFragen.xml" "$tmp/dateien/en.xml"
    sitzung=(env XDG_DATA_HOME="$daten" XDG_DATA_DIRS="$daten:/usr/local/share:/usr/share"
        XDG_CURRENT_DESKTOP=GNOME)
    while IFS='|' read -r name erwartet; do
        [ -n "$name" ] || continue
        gefunden=$("${sitzung[@]}" xdg-mime query filetype "$tmp/dateien/$name" 2>&1) || true
        [ "$gefunden" = "$erwartet" ] || melden "xdg-mime: $name is '$gefunden', not $erwartet"
    done <<TABELLE
de.xml|$typ
en.xml|$typ
kurz.xml|$typ
zeilen.xml|$typ
ohne-endung|$typ
anderes.xml|application/xml
aehnlich.xml|application/xml
nackt.xml|application/xml
TABELLE
    standard=$("${sitzung[@]}" xdg-mime query default "$typ" 2>&1) || true
    [ "$standard" = "$id.desktop" ] ||
        melden "xdg-mime: question files open with '$standard', not $id.desktop"
fi

[ "$fehler" -eq 0 ] || exit 1
[ "$uebersprungen" -eq 0 ] || exit 77
echo "menu entry, metadata and the type of question files checked"
