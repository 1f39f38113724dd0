#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders each manual page given as man would on an 80-column terminal, and fails
# when man or groff warns about any of them, or one is missing or empty.
status=0
for page in "$@"; do
    if ! [ -s "$page" ]; then
        echo "render-pages: $page is missing or empty" >&2
        status=1
        continue
    fi
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        printf 'render-pages: %s:\n%s\n' "$page" "$warnings" >&2
        status=1
    fi
    text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    if [ -z "$text" ]; then
        echo "render-pages: $page renders as nothing" >&2
        status=1
    fi
done
[ "$#" -gt 0 ] || { echo "render-pages: no pages given" >&2; exit 1; }
exit "$status"
