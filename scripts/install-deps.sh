#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Tiltophon need.
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-14 libclang-rt-14-dev
  libsdl2-dev libx11-dev libxrandr-dev libpng-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra
  libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libmpg123-dev libglib2.0-dev gettext
  xvfb xauth xdotool imagemagick sox phoc xwayland grim libwayland-dev dbus python3-dbus python3-gi
  pipewire pipewire-pulse wireplumber pulseaudio-utils lame feedbackd
  file appstream desktop-file-utils python3 reuse lintian scdoc man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -q || { echo "install-deps: apt-get update failed" >&2; exit 1; }
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" \
  || { echo "install-deps: could not install ${missing[*]}" >&2; exit 1; }
