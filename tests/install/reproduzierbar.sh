#!/usr/bin/env bash
# Runs a generator into an empty folder and checks that every file it writes is committed in the
# repository, so the pictures and sounds in resources/ and examples/ are what the generators make
# and a generator change without the regenerated files cannot slip through. Pictures are compared
# by what they show (bildvergleich), since another machine compresses and antialiases the same
# drawing into other bytes; every other file byte for byte.
#   reproduzierbar.sh <repository root> <bildvergleich> <generator> [folder below the root it writes into]
# artwork writes below the root it is given; soundgen writes into the folder it is given.
set -euo pipefail
wurzel=$1
bildvergleich=$2
generator=$3
unterordner=${4:-}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ausgabe=$tmp/ausgabe
ziel=$ausgabe${unterordner:+/$unterordner}
mkdir -p "$ziel" "$tmp/laufzeit"
chmod 700 "$tmp/laufzeit"
export XDG_RUNTIME_DIR=$tmp/laufzeit QT_QPA_PLATFORM=offscreen

"$generator" "$ziel" >/dev/null

anzahl=0
abweichend=()
bilder=()
while IFS= read -r -d '' datei; do
    relativ=${datei#"$ausgabe"/}
    anzahl=$((anzahl + 1))
    if [ ! -f "$wurzel/$relativ" ]; then
        abweichend+=("$relativ (not in the repository)")
    else
        case ${relativ,,} in
            *.png | *.gif | *.ico | *.jpg | *.jpeg | *.bmp) bilder+=("$relativ") ;;
            *) cmp -s "$datei" "$wurzel/$relativ" || abweichend+=("$relativ (differs)") ;;
        esac
    fi
done < <(find "$ausgabe" -type f -print0)

if [ ${#bilder[@]} -gt 0 ]; then
    # It names every picture that differs, with the reason, one a line.
    ergebnis=0
    unterschiede=$("$bildvergleich" "$ausgabe" "$wurzel" "${bilder[@]}") || ergebnis=$?
    if [ "$ergebnis" -gt 1 ]; then
        echo "bildvergleich failed" >&2
        exit 1
    fi
    if [ -n "$unterschiede" ]; then
        mapfile -t zeilen <<<"$unterschiede"
        abweichend+=("${zeilen[@]}")
    fi
fi

if [ "$anzahl" -eq 0 ]; then
    echo "$(basename "$generator") wrote no files" >&2
    exit 1
fi
if [ ${#abweichend[@]} -gt 0 ]; then
    echo "$(basename "$generator"): ${#abweichend[@]} of $anzahl files are not what is committed:" >&2
    printf '  %s\n' "${abweichend[@]}" >&2
    echo "Regenerate them (see README.md, Artwork and sounds) and commit the result." >&2
    exit 1
fi
echo "$(basename "$generator"): $anzahl files match the repository"
