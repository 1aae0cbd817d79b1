# Shared by the screenshot scripts: a throw-away Wine prefix and program
# folder with Orbisk.exe and a catalogue of registered items, and the steps on
# the virtual screen (wait for a window, take it, close Orbisk).

# prepare_program <folder holding Orbisk.exe>
# Sets work, program (its Windows path), login and user_folder.
prepare_program() {
  local exe_dir="$1"
  if [ ! -f "$exe_dir/Orbisk.exe" ]; then
    scripts/setup.sh
    scripts/build.sh
  fi
  work="$(mktemp -d)"
  source scripts/wine-env.sh
  use_wine_prefix "$work/prefix"
  add_exit_trap '"$WINESERVER" -k 2>/dev/null || true; rm -rf "$work"'
  mkdir -p "$work/program/tools"
  cp "$exe_dir/Orbisk.exe" "$work/program/"
  # ORBISK_SCREENSHOT_DPI: the display's pixels per inch (144 for 150 %).
  if [ -n "${ORBISK_SCREENSHOT_DPI:-}" ]; then
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$ORBISK_SCREENSHOT_DPI" /f \
      >/dev/null 2>&1
  fi
  program="$("$WINE64" winepath -w "$work/program" 2>/dev/null | tr -d '\r')"
  login="$("$WINE64" cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
  user_folder="$work/program/user/$login"
  mkdir -p "$user_folder"
}

# write_catalogue "name|fixed 0/1|application|arguments|comment|contexts" …
# Writes the settings file (Shift_JIS, CR LF; a comment's \n stays the two
# characters the file stores a line break with) and registers every item.
write_catalogue() {
  local ini="[ItemList]\r\nItemCount=$#\r\n" n=0 item name fixed path args comment contexts key
  for item in "$@"; do
    n=$((n + 1))
    IFS='|' read -r name fixed path args comment contexts <<<"$item"
    ini+="ItemName$n=$name\r\nFixedString$n=$fixed\r\nArgments$n=$args\r\nComment$n=$comment\r\n"
    if [ "$fixed" = 0 ]; then
      ini+="AplPath$n=$path\r\nContexts$n=$contexts\r\nWindowStyle$n=1\r\nConfCmdLine$n=0\r\n"
    fi
    key="HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\\$name"
    "$WINE64" reg add "$key" /ve /d "$program\\user\\$login\\$name.html" /f >/dev/null 2>&1
    "$WINE64" reg add "$key" /v Contexts /t REG_DWORD /d 1 /f >/dev/null 2>&1
  done
  printf '%s' "$ini" | sed 's/\\r\\n/\r\n/g' | iconv -f UTF-8 -t CP932 >"$user_folder/Orbisk.ini"
  # Wine's desktop process belongs to the display of the session that started
  # it: let the set-up's session end before the one on the virtual screen.
  "$WINESERVER" -w
}

# On the virtual screen: start_orbisk <program> <log>; sets orbisk (the pid)
# and main (its window).
start_orbisk() {
  "$WINE64" "$1\\Orbisk.exe" >"$2" 2>&1 &
  orbisk=$!
  main="$(wait_for_window '^Orbisk$')" || { cat "$2" >&2; exit 1; }
}

# wait_for_window <title pattern>: prints the window id once it is shown.
wait_for_window() {
  local window=""
  for _ in $(seq 1 100); do
    window="$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no window $1 appeared" >&2; return 1; }
  sleep 1
  echo "$window"
}

# take_window <window> <output.png>: the window's part of the screen.
take_window() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}

# close_orbisk: Esc closes Orbisk as the user would; it must be gone soon.
close_orbisk() {
  xdotool key --window "$main" Escape || true
  for _ in $(seq 1 50); do kill -0 "$orbisk" 2>/dev/null || break; sleep 0.2; done
  kill "$orbisk" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
}
