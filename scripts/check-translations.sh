#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails unless every catalogue of po/LINGUAS compiles under msgfmt --check without a
# single warning, translates every caption of TEMPLATE (the template the build made
# from the current sources; po/tiltophon.pot by default) and has nothing fuzzy or
# untranslated. A translation whose format directives differ from its caption's is
# refused by msgfmt --check. CI runs it as a test.
#
#   scripts/check-translations.sh [TEMPLATE [CATALOGUE_FOLDER]]
set -euo pipefail
cd "$(dirname "$0")/.."
template=${1:-po/tiltophon.pot}
folder=${2:-po}

failed=0
while read -r language; do
    [ -n "$language" ] || continue
    catalogue="$folder/$language.po"
    if ! report=$(msgfmt --check --statistics -o /dev/null "$catalogue" 2>&1); then
        echo "$catalogue does not compile:" >&2; echo "$report" >&2; failed=1; continue
    fi
    # A clean catalogue says only how many messages it translates.
    if [ "$(printf '%s\n' "$report" | grep -cv '^[0-9]* translated messages\.$')" -ne 0 ]; then
        echo "$catalogue is not complete or not clean: $report" >&2; failed=1
    fi
    if ! missing=$(msgcmp --use-untranslated "$catalogue" "$template" 2>&1); then
        echo "$catalogue lacks captions of $template:" >&2; echo "$missing" >&2; failed=1
    fi
done < "$folder/LINGUAS"
exit "$failed"
