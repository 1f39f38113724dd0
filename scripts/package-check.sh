#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the default build, checks it with lintian (any error
# or warning fails) and checks its metadata and manual pages, installs it on this
# machine, starts the installed program the way its desktop entry does (on SDL's dummy
# drivers, with private config and runtime folders), closes it with SIGTERM, expects
# exit status 0 and saved settings, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "package-check: $*" >&2
    exit 1
}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
app_id=org.tiltophon.Tiltophon

[ -x build/default/lib/tiltophon/tiltophon ] || fail "build the default preset first"
(cd build/default && rm -f tiltophon_*.deb && cpack -G DEB >/dev/null) || fail "cpack -G DEB failed"
deb=$(ls build/default/tiltophon_*.deb)
echo "package-check: built $deb ($(du -k "$deb" | cut -f1) KiB)" >&2

work=$(mktemp -d)
installed=""
cleanup() {
    [ -n "${pid:-}" ] && kill -KILL "$pid" 2>/dev/null || true
    if [ -n "$installed" ]; then
        $sudo env DEBIAN_FRONTEND=noninteractive dpkg --purge tiltophon >/dev/null \
            || echo "package-check: could not remove the package" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# What Debian asks of a package. Each override, if one is ever needed, goes in the
# package with a comment that says why.
lintian_report=$(lintian --fail-on error,warning "$deb" 2>&1) || {
    echo "$lintian_report" >&2
    fail "lintian finds errors or warnings in $deb"
}

# The package's own metadata, as software centres read it.
dpkg-deb -x "$deb" "$work/tree"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null \
    || fail "appstreamcli rejects the package's metainfo"
desktop-file-validate "$work/tree/usr/share/applications/$app_id.desktop" \
    || fail "desktop-file-validate rejects the package's desktop entry"
# Its documents, read from the package itself (dpkg may be told to leave them out).
for file in usr/share/doc/tiltophon/copyright usr/share/doc/tiltophon/changelog.gz \
    usr/share/man/man1/tiltophon.1.gz usr/share/man/man1/tiltophon-swing.1.gz; do
    [ -e "$work/tree/$file" ] || fail "the package lacks /$file"
done
tests/man/render-pages.sh "$work"/tree/usr/share/man/man1/*.1.gz \
    || fail "the package's manual pages do not render cleanly"

if dpkg-query -W -f='${Status}' tiltophon 2>/dev/null | grep -q "install ok installed"; then
    fail "a tiltophon package is already installed; remove it first"
fi
installed=yes
if ! $sudo env DEBIAN_FRONTEND=noninteractive dpkg -i "$deb" >/dev/null; then
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q >/dev/null \
        || fail "the package's dependencies cannot be installed"
fi
dpkg-query -W -f='${Status}' tiltophon | grep -q "install ok installed" || fail "dpkg -i failed"
for file in /usr/lib/tiltophon/tiltophon /usr/lib/tiltophon/libHTCSensorSDK.so \
    /usr/lib/tiltophon/Skin /usr/lib/tiltophon/Sounds /usr/bin/tiltophon /usr/bin/tiltophon-swing \
    /usr/share/icons/hicolor/256x256/apps/tiltophon.png; do
    [ -e "$file" ] || fail "$file is not installed"
done

# Every library the installed programs need is found on the system.
for binary in /usr/lib/tiltophon/tiltophon /usr/lib/tiltophon/libHTCSensorSDK.so; do
    missing=$(ldd "$binary" | grep 'not found' || true)
    [ -z "$missing" ] || fail "$binary needs libraries that are not installed: $missing"
done

# The command of the desktop entry, without its field codes.
entry=/usr/share/applications/$app_id.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
[ -n "$exec_line" ] || fail "$entry has no Exec line"
read -r -a command <<<"${exec_line//%[fFuUdDnNickvm]/}"

mkdir -p "$work/config" "$work/run"
chmod 700 "$work/run"
env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_RUNTIME_DIR="$work/run" PATH="/usr/bin:/bin" "${command[@]}" &
pid=$!
for _ in $(seq 100); do
    [ -e "$work/run/tiltophon.sock" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the installed program ended at once"
    sleep 0.1
done
[ -e "$work/run/tiltophon.sock" ] || fail "the installed program did not start"
# Past the start-up, a close saves the settings: proof that the program found its folder.
sleep 3
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the installed program ended with status $status after SIGTERM"
grep -q '"SensitivityX"=dword:00000005' "$work/config/tiltophon/registry.reg" 2>/dev/null \
    || fail "the installed program saved no settings"
echo "package-check: installed, started from '$exec_line', closed with status 0, removed" >&2
