#!/usr/bin/env bash
# Creates a Wine prefix once (idempotent): Japanese locale, no Mono/Gecko
# prompts, and unmanaged windows so that closing a dialog does not wait for a
# window manager that Xvfb does not have.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
prefix="$1"
[ -f "$prefix/.orbisk-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.orbisk-ready" ] && exit 0
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
"$WINE64" wineboot --init >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Windows' Japanese UI font is proportional; without this Wine falls back to
# the fixed-pitch IPA Gothic, which is wider than the layouts were made for.
"$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAPGothic' /f \
  >/dev/null 2>&1
"$WINESERVER" -w
touch "$prefix/.orbisk-ready"
