# Sourced by the tests that start Orbisk's programs under a system locale
# that is not Japanese. Sets japanese and foreign (the locale names), work (a
# temporary folder, removed on exit with the wineserver stopped), a
# throw-away WINEPREFIX made by the prefix script, fail/failures, and
# windows_path. Wants wine64, wineserver and make_prefix set by its caller.
#
# Wine takes a process's code page from LANG/LC_ALL when the process starts,
# and a program started by a Wine program keeps its starter's code page
# whatever environment it is given (measured), so each program under test is
# started by its own wine invocation. The prefix is a throw-away one: a start
# under another locale rewrites the prefix's regional settings.
japanese=ja_JP.UTF-8
# English with UTF-8 file names. Where en_US.UTF-8 is not generated, LANG set
# to it falls back to the C locale, whose ASCII file names Wine cannot map
# Japanese names to: C.UTF-8 is then the same English locale with UTF-8 names.
foreign=en_US.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'en_US\.utf-\?8'; then foreign=C.UTF-8; fi

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  "$wineserver" -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
"$make_prefix" "$WINEPREFIX" || exit 1
"$wineserver" -p

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
windows_path() { echo "Z:${1//\//\\}"; }
