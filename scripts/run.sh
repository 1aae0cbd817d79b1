#!/usr/bin/env bash
# Installs what is missing, builds Orbisk and starts it under Wine: on the
# user's display when there is one, else on a virtual one (Xvfb).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

. scripts/wine-env.sh
use_wine_prefix "${WINEPREFIX:-$HOME/.local/share/orbisk/wineprefix}"

# The program folder holds the per-user catalogue below it; keep it apart from
# the build tree so that a rebuild never touches the user's items.
program_folder="${ORBISK_HOME:-$HOME/.local/share/orbisk/program}"
mkdir -p "$program_folder"
for exe in build/windows/mainwindow/Orbisk.exe build/windows/mainwindow/OrbiskHost.exe build/windows/launchers/*/*.exe; do
  [ -f "$exe" ] && cp -f "$exe" "$program_folder/"
done

if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine64 "$program_folder/Orbisk.exe"
else
  echo "No display: Orbisk runs on a virtual screen (Xvfb)."
  exec xvfb-run -a -s "-screen 0 1024x768x24" /usr/lib/wine/wine64 "$program_folder/Orbisk.exe"
fi
