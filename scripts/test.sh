#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, native and
# under Wine, in one ctest run. A fresh Wine prefix is made for each run.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh all

export WINEPREFIX="$PWD/build/windows/wine-test-prefix"
export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
scripts/wine-prefix.sh "$WINEPREFIX"

# One wineserver for the whole run: starting one per test costs seconds.
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

jobs="${ORBISK_TEST_JOBS:-2}"
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build/native --output-on-failure -j "$jobs" "$@"
