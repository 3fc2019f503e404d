#!/usr/bin/env bash
# Collects every text of the forms and every tr() of src/ into the English catalogue source
# translations/plenarotandrivelle_en.ts. Texts already translated keep their translation, new ones
# come in as unfinished (translate them with Qt Linguist or by hand), texts gone from the sources
# are dropped. Run it after adding or changing a form or a tr() text; tests/translations fails while
# any text is untranslated or missing from the catalogue.
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

offen=$(grep -c 'type="unfinished"' translations/plenarotandrivelle_en.ts || true)
echo "Untranslated texts: $offen"
