#!/usr/bin/env bash
# Takes a picture of Orbisk's main window with a few Japanese items, on a
# virtual screen (Xvfb), cropped to the window.
#   scripts/screenshot.sh [output.png] [folder holding Orbisk.exe]
# Defaults: docs/main-window.png and build/windows/mainwindow (built first
# when missing).
set -eu
[ -n "${SCREENSHOT_TRACE:-}" ] && set -x
cd "$(dirname "$0")/.."
repo="$PWD"

if [ "${1:-}" = --on-display ]; then
  # Second stage, inside xvfb-run: start Orbisk, point at an item, take the
  # picture.
  out="$2" program="$3"
  /usr/lib/wine/wine64 "$program\\Orbisk.exe" >"$4" 2>&1 &
  orbisk=$!
  window=""
  for _ in $(seq 1 100); do
    window="$(xdotool search --name '^Orbisk$' 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "Orbisk's window did not appear" >&2; cat "$4" >&2; exit 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The pointer resting on the first line, whose name is too long for the
  # list: the hint box shows its comment and a tooltip its whole name.
  xdotool mousemove $((X + 60)) $((Y + 58))
  sleep 0.3
  xdotool mousemove $((X + 62)) $((Y + 59))
  sleep 2
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
  # Esc closes Orbisk as the user would; it must be gone within seconds.
  xdotool key --window "$window" Escape || true
  for _ in $(seq 1 50); do kill -0 "$orbisk" 2>/dev/null || break; sleep 0.2; done
  kill "$orbisk" 2>/dev/null || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  exit 0
fi

out="$(realpath -m "${1:-docs/main-window.png}")"
exe_dir="${2:-build/windows/mainwindow}"
if [ ! -f "$exe_dir/Orbisk.exe" ]; then
  scripts/setup.sh
  scripts/build.sh
fi
mkdir -p "$(dirname "$out")"

work="$(mktemp -d)"
source scripts/wine-env.sh
use_wine_prefix "$work/prefix"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# Windows' Japanese UI font is proportional; Wine would fall back to the
# fixed-pitch IPA Gothic, which is wider than the layout was made for.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAPGothic' /f \
  >/dev/null 2>&1

mkdir -p "$work/program"
cp "$exe_dir/Orbisk.exe" "$work/program/"
program="$(/usr/lib/wine/wine64 winepath -w "$work/program" 2>/dev/null | tr -d '\r')"
login="$(/usr/lib/wine/wine64 cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
user_folder="$work/program/user/$login"
mkdir -p "$user_folder"

# Items: name, fixed string (0/1), application, arguments, comment, contexts.
items=(
  "ページをメモに追記|0|C:\\Tools\\Jotwell.exe|<TT> <TU>|見ているページのタイトルと URL を\\nメモ帳のファイルに追記します。|1000"
  "リンク先を保存して開く|0|C:\\Tools\\Fetchbay.exe|<AU>|リンク先をダウンロードしてから開きます。|0010"
  "選択した文字列をコピー|0|C:\\Tools\\Clipsy.exe|<ST>|選択中の文字列をクリップボードへ。|0001"
  "今日の日付を入力|1||<Y4>年<M1>月<D1>日|入力欄に今日の日付を入力します。|0000"
  "ページの更新を監視する（ブックマーク登録）|0|C:\\Tools\\Pagewatch.exe|<TU> <TT>|更新チェッカーに登録します。|1000"
)
ini="[ItemList]\r\nItemCount=${#items[@]}\r\n"
n=0
for item in "${items[@]}"; do
  n=$((n + 1))
  IFS='|' read -r name fixed path args comment contexts <<<"$item"
  ini+="ItemName$n=$name\r\nFixedString$n=$fixed\r\nArgments$n=$args\r\nComment$n=$comment\r\n"
  if [ "$fixed" = 0 ]; then
    ini+="AplPath$n=$path\r\nContexts$n=$contexts\r\nWindowStyle$n=1\r\nConfCmdLine$n=0\r\n"
  fi
  key="HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\\$name"
  /usr/lib/wine/wine64 reg add "$key" /ve /d "$program\\user\\$login\\$name.html" /f >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add "$key" /v Contexts /t REG_DWORD /d 1 /f >/dev/null 2>&1
done
# The literal \r\n markers become line ends; a comment's \n stays as the two
# characters the settings file stores a line break with.
printf '%s' "$ini" | sed 's/\\r\\n/\r\n/g' | iconv -f UTF-8 -t CP932 >"$user_folder/Orbisk.ini"

# Wine's desktop process belongs to the display of the session that started
# it: let the set-up's session end before the one on the virtual screen.
/usr/lib/wine/wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" "$repo/scripts/screenshot.sh" --on-display "$out" "$program" "$work/orbisk.log"
echo "$out"
