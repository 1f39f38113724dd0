#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Tiltophon and starts it from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tiltophon-program
exec build/default/lib/tiltophon/tiltophon "$@"
