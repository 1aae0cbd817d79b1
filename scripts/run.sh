#!/usr/bin/env bash
# Installs what is missing, builds Orbisk and starts it under Wine: on the
# user's display when DISPLAY names one, else on an invisible virtual screen
# (Xvfb), of which it takes a picture.
set -eu
cd "$(dirname "$0")/.."

# run_on_virtual_screen <program folder> <picture>: inside xvfb-run, starts
# Orbisk, takes a picture once its window is there and waits for it to end.
run_on_virtual_screen() {
  "$WINE64" "$1/Orbisk.exe" &
  local orbisk=$!
  for _ in $(seq 1 150); do
    if xdotool search --name '^Orbisk$' >/dev/null 2>&1; then
      sleep 1
      import -window root "$2"
      echo "Orbisk is running. A picture of the virtual screen: $2"
      break
    fi
    kill -0 "$orbisk" 2>/dev/null || break
    sleep 0.2
  done
  wait "$orbisk"
}

if [ "${1:-}" = --on-virtual-screen ]; then
  . scripts/wine-env.sh
  run_on_virtual_screen "$2" "$3"
  exit
fi

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
  exec "$WINE64" "$program_folder/Orbisk.exe"
fi

cat <<MESSAGE
No display: DISPLAY is not set, so Orbisk runs on an invisible virtual screen
(Xvfb). This command waits there until Orbisk ends; press Ctrl+C to end it.
To see and use Orbisk, point DISPLAY at your X display, for example:
    DISPLAY=:0 bash scripts/run.sh
MESSAGE
exec xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$0" --on-virtual-screen "$program_folder" "$PWD/build/orbisk-screen.png"
