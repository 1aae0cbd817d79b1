#!/usr/bin/env bash
# Takes a picture of Orbisk's main window with a few Japanese items, on a
# virtual screen (Xvfb), cropped to the window.
#   scripts/screenshot.sh [output.png] [folder holding Orbisk.exe]
# Defaults: docs/main-window.png and build/windows/mainwindow (built first
# when missing). ORBISK_SCREENSHOT_DPI=144 takes it on a display scaled to
# 150 % (docs/main-window-144dpi.png).
set -eu
cd "$(dirname "$0")/.."
source scripts/screenshot-lib.sh

if [ "${1:-}" = --on-display ]; then
  out="$2"
  start_orbisk "$3" "$4"
  # The pointer resting on the first line, whose name is too long for the
  # list: the hint box shows its comment and a tooltip its whole name.
  eval "$(xdotool getwindowgeometry --shell "$main")"
  dpi="${ORBISK_SCREENSHOT_DPI:-96}"
  xdotool mousemove $((X + 60 * dpi / 96)) $((Y + 58 * dpi / 96))
  sleep 0.3
  xdotool mousemove $((X + 62 * dpi / 96)) $((Y + 59 * dpi / 96))
  sleep 2
  take_window "$main" "$out"
  close_orbisk
  exit 0
fi

out="$(realpath -m "${1:-docs/main-window.png}")"
mkdir -p "$(dirname "$out")"
prepare_program "${2:-build/windows/mainwindow}"
write_catalogue \
  "ページをメモに追記|0|C:\\Tools\\Jotwell.exe|<TT> <TU>|見ているページのタイトルと URL を\\nメモ帳のファイルに追記します。|1000" \
  "リンク先を保存して開く|0|C:\\Tools\\Fetchbay.exe|<AU>|リンク先をダウンロードしてから開きます。|0010" \
  "選択した文字列をコピー|0|C:\\Tools\\Clipsy.exe|<ST>|選択中の文字列をクリップボードへ。|0001" \
  "今日の日付を入力|1||<Y4>年<M1>月<D1>日|入力欄に今日の日付を入力します。|0000" \
  "ページの更新を監視する（ブックマーク登録）|0|C:\\Tools\\Pagewatch.exe|<TU> <TT>|更新チェッカーに登録します。|1000"
xvfb-run -a -s "-screen 0 1024x768x24" scripts/screenshot.sh --on-display "$out" "$program" "$work/orbisk.log"
echo "$out"
