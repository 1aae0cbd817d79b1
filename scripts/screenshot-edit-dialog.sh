#!/usr/bin/env bash
# Takes pictures of Orbisk's edit dialog in both layouts, on a virtual screen
# (Xvfb): a launcher item and a fixed-string item opened with Edit.
#   scripts/screenshot-edit-dialog.sh [output folder] [folder holding Orbisk.exe]
# Defaults: docs/ (edit-dialog-launcher.png, edit-dialog-fixed-string.png)
# and build/windows/mainwindow.
set -eu
cd "$(dirname "$0")/.."
source scripts/screenshot-lib.sh

# shoot <output>: the edit dialog that has just been opened, then closed.
shoot() {
  local dialog
  dialog="$(wait_for_window '^編集$')"
  take_window "$dialog" "$1"
  xdotool key --window "$dialog" Escape || true
  sleep 0.5
}

if [ "${1:-}" = --on-display ]; then
  out="$2"
  start_orbisk "$3" "$4"
  # The first line (the launcher item) is selected at start.
  xdotool key --window "$main" alt+e
  shoot "$out/edit-dialog-launcher.png"
  xdotool key --window "$main" alt+l Down alt+e
  shoot "$out/edit-dialog-fixed-string.png"
  close_orbisk
  exit 0
fi

out="$(realpath -m "${1:-docs}")"
mkdir -p "$out"
prepare_program "${2:-build/windows/mainwindow}"
printf 'MZ' >"$work/program/tools/Jotwell.exe"
write_catalogue \
  "ページをメモに追記|0|$program\\tools\\Jotwell.exe|<TT> <TU>|見ているページのタイトルと URL を追記します。|1001" \
  "今日の日付を入力|1||<Y4>年<M1>月<D1>日|入力欄に今日の日付を入力します。|0000"
xvfb-run -a -s "-screen 0 1024x768x24" scripts/screenshot-edit-dialog.sh --on-display "$out" "$program" \
  "$work/orbisk.log"
ls "$out"/edit-dialog-*.png
