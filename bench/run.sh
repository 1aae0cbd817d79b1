#!/usr/bin/env bash
# Builds the Windows programs and runs every benchmark in full under Wine,
# printing their figures. Each benchmark checks the results of the work it
# times; this script runs them all and ends with 1 when any of them failed or
# could not run. (The test run runs each once briefly: ctest -R '^bench\.'.)
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# The pick through the browser loads the browser tests' copy of the extension,
# with their test hook, and checks its lines against their engine: both come
# from the native build.
echo "Building the browser tests' copy of the extension and their engine…"
if ! { cmake --preset native && cmake --build --preset native --target engine_result browser_test_extension; } \
    >>build/native.log 2>&1; then
  tail -n 60 build/native.log >&2
  echo "build of native failed; see build/native.log" >&2
  exit 1
fi
. scripts/wine-env.sh
use_wine_prefix "$PWD/build/windows/wine-bench-prefix" shared
failed=()
for bench in build/windows/bench/*.exe; do
  echo "== $(basename "$bench")"
  # wine-run: the prefix exported above, output through a file (Wine's
  # background services would hold a pipe open) shown as UTF-8.
  build/windows/wine-run "$bench" || failed+=("$(basename "$bench")")
done

# A pick through the browser extension in headless Chromium against the same
# pick sent straight to OrbiskHost.exe.
echo "== browser pick (bench/browser/pick_bench.mjs)"
node bench/browser/pick_bench.mjs --windows-build build/windows \
  --extension build/native/tests/browser/extension \
  --engine-result build/native/tests/browser/engine_result \
  --work build/bench-browser || failed+=(pick_bench.mjs)

if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]}" >&2
  exit 1
fi
