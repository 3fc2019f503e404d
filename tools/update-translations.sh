#!/usr/bin/env bash
# Collects every text of the forms and every tr() of src/ into the catalogue sources:
# translations/plenarotandrivelle_en.ts (every text, in English) and
# translations/plenarotandrivelle_de.ts (only the texts that count something, tr("%n …", nullptr, n):
# their German singular and plural). Texts already translated keep their translation, new ones come in
# as unfinished (translate them with Qt Linguist or by hand), texts gone from the sources are dropped.
# Run it after adding or changing a form or a tr() text; tst_sprachkataloge fails while any text is
# untranslated or missing from a catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate="${LUPDATE:-}"
if [ -z "$lupdate" ]; then
    if command -v qtpaths6 >/dev/null 2>&1 && [ -x "$(qtpaths6 --query QT_HOST_BINS)/lupdate" ]; then
        lupdate="$(qtpaths6 --query QT_HOST_BINS)/lupdate"
    else
        lupdate="$(command -v lupdate)"
    fi
fi

"$lupdate" -recursive src -extensions cpp,h,ui -no-obsolete -locations none \
    -source-language de -target-language en -ts translations/plenarotandrivelle_en.ts
"$lupdate" -recursive src -extensions cpp,h,ui -no-obsolete -locations none -pluralonly \
    -source-language de -target-language de -ts translations/plenarotandrivelle_de.ts

for katalog in translations/plenarotandrivelle_en.ts translations/plenarotandrivelle_de.ts; do
    offen=$(grep -c 'type="unfinished"' "$katalog" || true)
    echo "Untranslated texts in $katalog: $offen"
done
