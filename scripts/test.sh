#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, native and
# under Wine, in one ctest run. A fresh Wine prefix is made for each run.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh all

# Each run starts from a fresh prefix, so no test sees what an earlier run left.
prefix="$PWD/build/windows/wine-test-prefix"
rm -rf "$prefix" "$prefix.lock"
. scripts/wine-env.sh
use_wine_prefix "$prefix" shared

jobs="${ORBISK_TEST_JOBS:-2}"
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build/native --output-on-failure -j "$jobs" "$@"
