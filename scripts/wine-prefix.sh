#!/usr/bin/env bash
# Prepares the Wine prefix DIR for the Windows tests, once: wineboot, Wine's fonts copied in (or
# Tahoma and the caption glyphs are missing), no window-manager handshake (Managed=N: without a
# window manager every message box would wait 2 s to close), and the handheld's bold face
# "Frutiger Linotype" drawn as DejaVu Sans, the family the portable platform maps it to
# (platform/portable/FONTS.md); Wine would otherwise fall back to a fixed-pitch face.
# Safe to call from many tests at once: the first prepares, the others wait for it.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh DIR}
[ -f "$prefix/.prepared" ] && exit 0
# A Wine command run without a display just before a GUI run leaves that run without windows.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a bash "$0" "$@"
fi
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.prepared" ] && exit 0
rm -rf "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1
wineserver -w
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Frutiger Linotype' /d 'DejaVu Sans' /f >/dev/null 2>&1
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
wine reg add "$subst" /v 'Frutiger Linotype' /d 'DejaVu Sans' /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.prepared"
