#!/usr/bin/env bash
# The programs on the command line: help, version and a conversion without any screen (no display,
# no Qt platform), refused arguments with status 2 after Qt has taken its own options, and a question
# file named on the line that becomes the start file.
#   befehlszeile.sh <plenaro> <plenaro-simulator> <version>
set -euo pipefail
absolut() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
plenaro=$(absolut "$1")
simulator=$(absolut "$2")
version=$3

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

# A home of its own, so no run touches the user's settings.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
export XDG_CACHE_HOME=$tmp/home/.cache XDG_RUNTIME_DIR=$tmp/laufzeit
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# A question bank to convert without a window.
printf 'Wo liegt Kairo?\nA. Asien\nB. Afrika\nANSWER: B\n' >"$tmp/bank.txt"

v=${version//./\\.}
# program | arguments | exit status | pattern of stdout (or of stderr for status 2)
# "offscreen" before the arguments gives Qt a platform (on the command line), where the answer
# needs the application of the windows.
while IFS='|' read -r name argumente status muster; do
    [ -n "$name" ] || continue
    case $name in plenaro) befehl=$plenaro ;; *) befehl=$simulator ;; esac
    read -ra worte <<<"$argumente"
    [ "${worte[0]:-}" = offscreen ] && worte=(-platform offscreen "${worte[@]:1}")
    ergebnis=0
    timeout 120 "$befehl" "${worte[@]}" >"$tmp/aus" 2>"$tmp/fehler" </dev/null || ergebnis=$?
    ausgabe=$tmp/aus
    [ "$status" -ne 0 ] && ausgabe=$tmp/fehler
    if [ "$ergebnis" -ne "$status" ]; then
        melden "$name $argumente: status $ergebnis, not $status: $(head -c 300 "$tmp/fehler")"
    elif ! grep -Eq -- "$muster" "$ausgabe"; then
        melden "$name $argumente: no '$muster' in: $(head -c 300 "$ausgabe")"
    elif [ "$status" -eq 0 ] && [ -s "$tmp/fehler" ]; then
        melden "$name $argumente: wrote to stderr: $(head -c 300 "$tmp/fehler")"
    fi
done <<TABELLE
plenaro|--help|0|^Usage: .*plenaro \[options\] \[FILE\]
plenaro|-h|0|-v, --version
plenaro|--version|0|^plenaro $v\$
plenaro|-v|0|^plenaro $v\$
plenaro|-platform xcb -reverse --help|0|^Usage:
plenaro|fragen.xml --version|0|^plenaro $v\$
plenaro-simulator|--version|0|^plenaro-simulator $v\$
plenaro-simulator|--help|0|-v, --version
plenaro|offscreen --bogus|2|^plenaro: Unknown option 'bogus'
plenaro|offscreen -reverse -x|2|^plenaro: Unknown option 'x'
plenaro|offscreen a.xml b.xml|2|^plenaro: One question file
plenaro|offscreen --bogus --webEngineArgs --no-sandbox|2|^plenaro: Unknown option 'bogus'
plenaro|--import $tmp/bank.txt $tmp/neu.xml|0|^1 (Frage übernommen|question imported)
plenaro|--import $tmp/bank.txt $tmp/neu.xml|1|(gibt es schon|exists already)
plenaro|--import $tmp/bank.txt|2|^plenaro: --import needs
TABELLE
grep -q 'Wo liegt Kairo' "$tmp/neu.xml" || melden "plenaro --import wrote no question file"

# A question file named on the line is the start file: written to the settings before the window
# exists, so the program is ended as soon as it is there.
mkdir -p "$tmp/Unterricht" "$tmp/anderswo"
cat >"$tmp/Unterricht/Erdkunde.xml" <<'FRAGEN'
<?xml version="1.0" encoding="utf-8"?>
<ArrayOfQuestion><Question><QuestionText>Wo liegt Kairo?</QuestionText><Answer1>Asien</Answer1>
<Answer2>Afrika</Answer2><Answer3/><Answer4/><Solution>Answer2</Solution><Time>15</Time><Points>1</Points>
</Question></ArrayOfQuestion>
FRAGEN
einstellungen=$XDG_CONFIG_HOME/Corvanta/plenaro.example.conf
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --no-first-run"
# Named relative to the working folder, as a shell user names it.
(cd "$tmp/Unterricht" && exec setsid "$plenaro" Erdkunde.xml >"$tmp/start.log" 2>&1) &
programm=$!
gelesen=
for _ in $(seq 1 240); do
    gelesen=$(sed -n 's/^FrageFile=//p' "$einstellungen" 2>/dev/null || true)
    [ -n "$gelesen" ] && break
    kill -0 "$programm" 2>/dev/null || break
    sleep 0.25
done
[ "$gelesen" = "$tmp/Unterricht/Erdkunde.xml" ] ||
    melden "plenaro Erdkunde.xml: start file '$gelesen', not $tmp/Unterricht/Erdkunde.xml:" \
        "$(tail -n 5 "$tmp/start.log")"

# A second start while the first runs is refused: the two would share the journal and the receiver.
setsid "$plenaro" >"$tmp/zweiter.log" 2>&1 &
zweiter=$!
for _ in $(seq 1 240); do
    grep -q 'already running' "$tmp/zweiter.log" && break
    kill -0 "$zweiter" 2>/dev/null || break
    sleep 0.25
done
grep -q 'already running' "$tmp/zweiter.log" || melden "a second plenaro was not refused: $(tail -n 3 "$tmp/zweiter.log")"
kill -TERM -- "-$zweiter" 2>/dev/null || true
wait "$zweiter" 2>/dev/null || true

if [ "$fehler" -ne 0 ]; then
    exit 1
fi
echo "help, version, refusals and the start file checked"
