#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program the way the menu
# does, from an unrelated working folder with a home of its own, headless. Checks that the
# installed tree is complete and its programs carry no library search path, that the first start
# picks the installed English sample (whose pictures are installed beside it), that the English
# catalogue is loaded where the build has one, that the program stays up, that it leaves the
# working folder alone and that it ends in order on SIGTERM.
#   installation.sh <build folder> <repository root>
set -euo pipefail
bau=$(cd "$1" && pwd)
wurzel=$(cd "$2" && pwd)
id=example.plenaro.Plenaro

tmp=$(mktemp -d)
programm=
aufraeumen() {
    if [ -n "$programm" ] && kill -0 "$programm" 2>/dev/null; then
        kill -TERM -- "-$programm" 2>/dev/null || true
        wait "$programm" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap aufraeumen EXIT

fehler=0
melden() {
    echo "FAIL: $*" >&2
    fehler=1
}

prefix=$tmp/prefix
cmake --install "$bau" --prefix "$prefix" >"$tmp/install.log"
daten=$prefix/share/plenaro

for datei in bin/plenaro bin/plenaro-simulator share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg \
    share/plenaro/examples/DE/BspFragen.xml share/plenaro/examples/EN/BspFragen.xml \
    share/mime/packages/plenaro.xml share/man/man1/plenaro.1.gz share/man/man1/plenaro-simulator.1.gz \
    share/doc/plenaro/copyright share/doc/plenaro/changelog.Debian.gz; do
    [ -s "$prefix/$datei" ] || melden "not installed: $datei"
done
[ -x "$prefix/bin/plenaro" ] || melden "bin/plenaro is not executable"
# The programs link no library of their own: a RUNPATH would only point outside the tree.
for name in plenaro plenaro-simulator; do
    if command -v readelf >/dev/null && readelf -d "$prefix/bin/$name" | grep -Eq 'R(UN)?PATH'; then
        melden "bin/$name carries a search path: $(readelf -d "$prefix/bin/$name" | grep -E 'R(UN)?PATH')"
    fi
done
[ ! -e "$prefix/examples" ] || melden "examples installed beside bin instead of below share/plenaro"
[ ! -e "$daten/examples/CMakeLists.txt" ] || melden "the build script of the examples was installed"
# Everything that lies beside the program in the build is installed with it.
for name in imagespdf plenarotandrivelle_en.qm; do
    if [ -e "$bau/bin/$name" ]; then
        diff -r "$bau/bin/$name" "$daten/$name" >/dev/null || melden "$name not installed like in the build"
    fi
done

# Pictures named by the installed samples, resolved as the program does: relative to the question
# file, with the file's "\" separators.
bilder=0
for sprache in DE EN; do
    fragen=$daten/examples/$sprache/BspFragen.xml
    [ -f "$fragen" ] || continue
    while IFS= read -r gespeichert; do
        [ -n "$gespeichert" ] || continue
        bilder=$((bilder + 1))
        pfad=$(dirname "$fragen")/${gespeichert//\\//}
        [ -s "$pfad" ] || melden "$sprache sample names a picture that is not installed: $gespeichert"
    done < <(sed -n 's/.*<Picture[A-Za-z0-9]*>\([^<]*\)<\/Picture[A-Za-z0-9]*>.*/\1/p' "$fragen")
done
[ "$bilder" -gt 0 ] || melden "the installed samples name no pictures"

# A user who has never started Plenaro, with English chosen (as an installer would write it).
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
export XDG_CACHE_HOME=$tmp/home/.cache XDG_RUNTIME_DIR=$tmp/laufzeit
mkdir -p "$XDG_CONFIG_HOME/Corvanta" "$XDG_RUNTIME_DIR" "$tmp/anderswo"
chmod 700 "$XDG_RUNTIME_DIR"
einstellungen=$XDG_CONFIG_HOME/Corvanta/plenaro.example.conf
printf '[General]\nInstallerLanguage=1033\n' >"$einstellungen"

export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --no-first-run"
export QT_LOGGING_RULES="plenaro.main.info=true"

# The menu's command line, found through PATH like the desktop does; started from the menu, with
# no file, its field codes (%f) drop out.
befehl=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop" | sed 's/ *%[fFuU]//g')
cd "$tmp/anderswo"
# A session of its own, so the web engine's helper processes end with it.
PATH=$prefix/bin:$PATH setsid $befehl >"$tmp/ausgabe.log" 2>&1 &
programm=$!

erwartet=$daten/examples/EN/BspFragen.xml
gelesen=
for _ in $(seq 1 240); do
    kill -0 "$programm" 2>/dev/null || break
    gelesen=$(sed -n 's/^FrageFile=//p' "$einstellungen")
    [ -n "$gelesen" ] && break
    sleep 0.5
done
if [ -z "$gelesen" ]; then
    melden "the first start wrote no FrageFile"
elif [ "$gelesen" != "$erwartet" ]; then
    melden "the first start chose $gelesen instead of the installed sample $erwartet"
fi
# Past the first start the window and its pages are up; the program must still be running then.
for _ in $(seq 1 10); do
    kill -0 "$programm" 2>/dev/null || break
    sleep 0.5
done
kill -0 "$programm" 2>/dev/null || melden "the installed program ended by itself"

# The catalogue: installed beside the data when the build puts it beside the program, compiled in
# when the build carries a translation source.
katalog=$(sed -n 's/.*Uebersetzung geladen: //p' "$tmp/ausgabe.log" | head -n1)
if [ -e "$bau/bin/plenarotandrivelle_en.qm" ]; then
    [ "$katalog" = "$daten/plenarotandrivelle_en.qm" ] ||
        melden "English catalogue not loaded from the installation (loaded: '${katalog}')"
elif find "$wurzel" \( -path "$wurzel/build*" -o -path "$wurzel/.git" \) -prune -o \
    -name 'plenarotandrivelle_en.ts' -print | grep -q .; then
    [ -n "$katalog" ] || melden "English catalogue not loaded"
else
    echo "no English catalogue in this build: not checked"
fi

[ -z "$(ls -A "$tmp/anderswo")" ] || melden "the program wrote into its working folder: $(ls -A "$tmp/anderswo")"

# Ended by the system (a shutdown, a logout), the program ends in order: the journal begun for a
# game that never started does not stay behind for the next start.
journal=$XDG_DATA_HOME/Corvanta/Plenaro/druckjournal.txt
for _ in $(seq 1 60); do
    [ -e "$journal" ] && break
    sleep 0.5
done
[ -e "$journal" ] || melden "no press journal was begun at $journal"
if kill -0 "$programm" 2>/dev/null; then
    kill -TERM "$programm"
    for _ in $(seq 1 60); do
        kill -0 "$programm" 2>/dev/null || break
        sleep 0.5
    done
    if kill -0 "$programm" 2>/dev/null; then
        melden "the program did not end on SIGTERM"
    else
        wait "$programm" || melden "the program ended with status $? on SIGTERM"
        programm=
    fi
fi
[ ! -e "$journal" ] || melden "an empty press journal stayed behind after SIGTERM"

if [ "$fehler" -ne 0 ]; then
    echo "--- program output" >&2
    tail -n 40 "$tmp/ausgabe.log" >&2
    exit 1
fi
echo "installed to a temporary prefix, started from another folder: sample, pictures and start checked"
