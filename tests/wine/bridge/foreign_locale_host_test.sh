#!/usr/bin/env bash
# OrbiskHost.exe under a Western system locale: a program that reads its
# command line in the system's code page (1252 there) gets a full-width
# quote (U+FF02) as a quote through Windows' best fit, so the host must read
# the line in the system's code page, not in its own (932, by its manifest),
# and refuse a title that would add an argument there. Under Japanese the
# same title is text (code page 932 holds the character) and the item starts.
#   foreign_locale_host_test.sh <wine64> <wineserver> <wine-prefix.sh> <bin folder> <recorder>
# The bin folder holds OrbiskHost.exe and host_locale_driver.exe. Wine fixes
# a process's code page from LANG when it starts, so the host gets a wine
# invocation of its own, fed its one message from a file.
set -u
wine64="$1" wineserver="$2" make_prefix="$3" bin="$4" recorder="$5"
. "$(dirname "$0")/../foreign_locale_prefix.sh"

# One pick of the item under the locale; prints the host's answer.
pick_under() {
  local locale="$1" dir="$work/$1"
  mkdir -p "$dir"
  cp "$bin/OrbiskHost.exe" "$dir/" && cp "$recorder" "$dir/viewer.exe" || return 1
  LANG="$japanese" LC_ALL="$japanese" "$wine64" "$bin/host_locale_driver.exe" "$(windows_path "$dir")\\" \
    "$(windows_path "$dir/viewer.exe")" || { echo "catalogue not written"; return 1; }
  local json='{"type":"pick","name":"Item","facts":{"topTitle":"a＂ --evil ＂b"}}'
  local n
  n=$(printf '%s' "$json" | wc -c)
  {
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((n & 255)) $((n >> 8 & 255)) 0 0)"
    printf '%s' "$json"
  } >"$dir/in"
  LANG="$locale" LC_ALL="$locale" "$wine64" "$dir/OrbiskHost.exe" \
    "chrome-extension://kfcinihmookjanjkhdbkaffejfgdpgcp/" <"$dir/in" >"$dir/out" 2>/dev/null
  tail -c +5 "$dir/out"
}

answer="$(pick_under "$foreign")"
echo "under $foreign: $answer"
case "$answer" in
  *'"type":"error"'*) ;;
  *) fail "the host did not refuse a title that code page 1252 turns into quotes" ;;
esac
[ ! -e "$work/$foreign/viewer.exe.log" ] || fail "the item's program was started under $foreign"

# Japanese last: the prefix's regional settings end as they began.
answer="$(pick_under "$japanese")"
echo "under $japanese: $answer"
case "$answer" in
  *'"type":"started"'*) ;;
  *) fail "the host did not start the item under $japanese, where the title is only text" ;;
esac

[ "$failures" -eq 0 ] && echo "the host reads the line in the system's code page"
exit $((failures > 0))
