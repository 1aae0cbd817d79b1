#!/usr/bin/env bash
# Orbisk under a system locale that is not Japanese shows and writes exactly
# what it does under Japanese: every window text, the message box, the
# buttons it enables after a cancelled Add, the settings file and the script
# file, byte for byte.
#   foreign_locale_test.sh <wine64> <wineserver> <wine-prefix.sh> <bin folder>
# The bin folder holds Orbisk.exe, locale_driver.exe, acp_probe.exe and
# acp_probe_plain.exe (the same probe without the manifest).

set -u
wine64="$1" wineserver="$2" make_prefix="$3" bin="$4"
. "$(dirname "$0")/../foreign_locale_prefix.sh"
in_locale() {
  local locale="$1"
  shift
  LANG="$locale" LC_ALL="$locale" "$wine64" "$@"
}
# The CP932 bytes of a UTF-8 text, for looking into the written files.
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# The locale really is foreign: without the manifest the code page is not 932.
plain="$(in_locale "$foreign" "$bin/acp_probe_plain.exe" | tr -d '\r')"
echo "code page without the manifest under $foreign: $plain"
[ "$plain" != 932 ] || fail "$foreign gives code page 932 even without the manifest: nothing is tested"
probe="$(in_locale "$foreign" "$bin/acp_probe.exe" | tr -d '\r')"
echo "code page with the manifest under $foreign: $probe"
[ "$probe" = 932 ] || fail "GetACP() is $probe, not 932, under $foreign with the manifest"

# One run of Orbisk in its own program folder under the locale.
run_orbisk() {
  local locale="$1" dir="$work/$1"
  mkdir -p "$dir"
  cp "$bin/Orbisk.exe" "$dir/"
  in_locale "$japanese" "$bin/locale_driver.exe" prepare "$(windows_path "$dir")\\" ||
    { fail "catalogue for the $locale run not written"; return; }
  in_locale "$locale" "$dir/Orbisk.exe" >"$dir/orbisk.log" 2>&1 &
  local orbisk=$!
  in_locale "$japanese" "$bin/locale_driver.exe" drive "$(windows_path "$dir/report.txt")" ||
    fail "driving Orbisk under $locale"
  for _ in $(seq 1 100); do kill -0 "$orbisk" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$orbisk" 2>/dev/null; then
    kill "$orbisk"
    fail "Orbisk under $locale did not end"
  fi
  wait "$orbisk" 2>/dev/null
}
# Japanese last: the prefix's regional settings end as they began.
run_orbisk "$foreign"
run_orbisk "$japanese"

ja="$work/$japanese" en="$work/$foreign"
echo "--- what Orbisk showed under $japanese:"
cat "$ja/report.txt"
if ! diff -u "$ja/report.txt" "$en/report.txt"; then
  fail "Orbisk showed other texts under $foreign (diff above: - $japanese, + $foreign)"
fi
# The comparison means something only when the texts are the Japanese ones.
for expected in "status bar: 項目数：2" "list 0: Jotwell にページを追記" "box text: 入力された内容で更新しますか？" \
                "edit caption: 編集" "main 1001: 登録済み項目一覧(&L)" "add caption: 追加" \
                "add cancelled selection: none" "add cancelled 1003: 追加(&A)... on" \
                "add cancelled 1004: 編集(&E)... off" "add cancelled 1005: 名称変更(&R)... off" \
                "add cancelled 1006: 削除(&D) off" "add cancelled 1007: 全削除(&C) on"; do
  grep -qxF "$expected" "$ja/report.txt" || fail "the $japanese run did not show \"$expected\""
done

for file in "Orbisk.ini" "Jotwell にページを追記.html"; do
  ja_file="$(ls "$ja"/user/*/"$file" 2>/dev/null | head -n 1)"
  en_file="$(ls "$en"/user/*/"$file" 2>/dev/null | head -n 1)"
  if [ -z "$ja_file" ] || [ -z "$en_file" ]; then
    fail "$file missing after a run"
    continue
  fi
  cmp "$ja_file" "$en_file" || fail "$file differs under $foreign"
done
# What was typed reached both files in Shift_JIS.
LC_ALL=C grep -qaF "$(sjis "ダウンロードして表示します（一覧表）")" "$en"/user/*/Orbisk.ini ||
  fail "the typed comment is not in the settings file in Shift_JIS"
LC_ALL=C grep -qaF "$(sjis "日本語の引数・表示")" "$en"/user/*/*.html ||
  fail "the typed arguments are not in the script file in Shift_JIS"

[ "$failures" -eq 0 ] && echo "same texts and bytes under $foreign and $japanese"
exit $((failures > 0))
