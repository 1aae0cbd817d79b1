#!/usr/bin/env bash
# Builds the Windows programs and runs the benchmarks under Wine, printing
# their figures. Not part of the test run.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
. scripts/wine-env.sh
use_wine_prefix "$PWD/build/windows/wine-bench-prefix" shared
for bench in build/windows/bench/*.exe; do
  echo "== $(basename "$bench")"
  # Through a file: Wine's background services would hold a pipe open.
  "$WINE64" "$bench" </dev/null >build/bench.out 2>&1 || true
  iconv -f CP932 -t UTF-8 -c <build/bench.out
done

# A pick through the browser extension in headless Chromium against the same
# pick sent straight to OrbiskHost.exe.
echo "== browser pick (bench/browser/pick_bench.mjs)"
node bench/browser/pick_bench.mjs --windows-build build/windows --work build/bench-browser
