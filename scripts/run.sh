#!/usr/bin/env bash
# Installs what is missing, builds Orbisk and starts it under Wine: on the
# user's display when DISPLAY names one, else on an invisible virtual screen
# (Xvfb), of which it takes a picture.
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
for exe in build/windows/mainwindow/Orbisk.exe build/windows/launchers/*/*.exe; do
  [ -f "$exe" ] && cp -f "$exe" "$program_folder/"
done

if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE64" "$program_folder/Orbisk.exe"
fi

if [ "${1:-}" != --on-virtual-screen ]; then
  screenshot="$PWD/build/orbisk-screen.png"
  cat <<MESSAGE
No display: DISPLAY is not set, so Orbisk runs on an invisible virtual screen
(Xvfb). This command waits there until Orbisk ends; press Ctrl+C to end it.
To see and use Orbisk, point DISPLAY at your X display, for example:
    DISPLAY=:0 bash scripts/run.sh
MESSAGE
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-virtual-screen "$screenshot"
fi

# On the virtual screen: start Orbisk, take a picture once its window is
# there, and wait for it to end.
screenshot="$2"
"$WINE64" "$program_folder/Orbisk.exe" &
orbisk=$!
for _ in $(seq 1 100); do
  if xdotool search --name '^Orbisk$' >/dev/null 2>&1; then
    sleep 1
    import -window root "$screenshot"
    echo "Orbisk is running. A picture of the virtual screen: $screenshot"
    break
  fi
  kill -0 "$orbisk" 2>/dev/null || break
  sleep 0.2
done
wait "$orbisk"
