#!/usr/bin/env bash
# Takes pictures of Orbisk's edit dialog in both layouts, on a virtual screen
# (Xvfb): a launcher item and a fixed-string item opened with Edit.
#   scripts/screenshot-edit-dialog.sh [output folder] [folder holding Orbisk.exe]
# Defaults: docs/ (edit-dialog-launcher.png, edit-dialog-fixed-string.png)
# and build/windows/mainwindow.
set -eu
cd "$(dirname "$0")/.."
repo="$PWD"

shoot() {  # window-name output
  local window=""
  for _ in $(seq 1 50); do
    window="$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "window $1 did not appear" >&2; return 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  xdotool key --window "$window" Escape || true
  sleep 0.5
}

if [ "${1:-}" = --on-display ]; then
  out="$2" program="$3"
  /usr/lib/wine/wine64 "$program\\Orbisk.exe" >"$4" 2>&1 &
  orbisk=$!
  main=""
  for _ in $(seq 1 100); do
    main="$(xdotool search --name '^Orbisk$' 2>/dev/null | head -n 1 || true)"
    [ -n "$main" ] && break
    sleep 0.2
  done
  [ -n "$main" ] || { echo "Orbisk's window did not appear" >&2; cat "$4" >&2; exit 1; }
  sleep 1
  # The first line (the launcher item) is selected at start.
  xdotool key --window "$main" alt+e
  shoot '編集' "$out/edit-dialog-launcher.png"
  xdotool key --window "$main" alt+l Down alt+e
  shoot '編集' "$out/edit-dialog-fixed-string.png"
  xdotool key --window "$main" Escape || true
  for _ in $(seq 1 50); do kill -0 "$orbisk" 2>/dev/null || break; sleep 0.2; done
  kill "$orbisk" 2>/dev/null || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  exit 0
fi

out="$(realpath -m "${1:-docs}")"
exe_dir="${2:-build/windows/mainwindow}"
if [ ! -f "$exe_dir/Orbisk.exe" ]; then
  scripts/setup.sh
  scripts/build.sh
fi
mkdir -p "$out"

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
scripts/wine-prefix.sh "$WINEPREFIX"
# Windows' Japanese UI font is proportional: IPA P Gothic stands in for it.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAPGothic' /f \
  >/dev/null 2>&1

mkdir -p "$work/program/tools"
cp "$exe_dir/Orbisk.exe" "$work/program/"
printf 'MZ' >"$work/program/tools/Jotwell.exe"
program="$(/usr/lib/wine/wine64 winepath -w "$work/program" 2>/dev/null | tr -d '\r')"
login="$(/usr/lib/wine/wine64 cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
user_folder="$work/program/user/$login"
mkdir -p "$user_folder"

launcher="ページをメモに追記"
fixed="今日の日付を入力"
printf '%s' "[ItemList]\r\nItemCount=2\r\n\
ItemName1=$launcher\r\nFixedString1=0\r\nAplPath1=$program\\tools\\Jotwell.exe\r\nArgments1=<TT> <TU>\r\n\
Comment1=見ているページのタイトルと URL を追記します。\r\nContexts1=1001\r\nWindowStyle1=1\r\nConfCmdLine1=0\r\n\
ItemName2=$fixed\r\nFixedString2=1\r\nArgments2=<Y4>年<M1>月<D1>日\r\nComment2=入力欄に今日の日付を入力します。\r\n" |
  sed 's/\\r\\n/\r\n/g' | iconv -f UTF-8 -t CP932 >"$user_folder/Orbisk.ini"
for name in "$launcher" "$fixed"; do
  key="HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\\$name"
  /usr/lib/wine/wine64 reg add "$key" /ve /d "$program\\user\\$login\\$name.html" /f >/dev/null 2>&1
done

/usr/lib/wine/wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" "$repo/scripts/screenshot-edit-dialog.sh" --on-display "$out" "$program" \
  "$work/orbisk.log"
ls "$out"/edit-dialog-*.png
