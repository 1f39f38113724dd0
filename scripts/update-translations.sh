#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The maintainer's step after captions changed: makes po/tiltophon.pot afresh from the
# sources, the desktop entry and the metadata, and merges it into every catalogue of
# po/LINGUAS (msgmerge), so translators see what is new or changed. Never edit the
# template by hand.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(tiltophon VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cmake -DSOURCE_DIR="$PWD" -DOUTPUT="$PWD/po/tiltophon.pot" -DXGETTEXT="$(command -v xgettext)" \
    -DVERSION="$version" -P po/make-template.cmake
while read -r language; do
    [ -n "$language" ] || continue
    msgmerge --quiet --update --backup=none --no-wrap --sort-by-file "po/$language.po" po/tiltophon.pot
    echo "po/$language.po: $(msgfmt --statistics -o /dev/null "po/$language.po" 2>&1)"
done < po/LINGUAS
