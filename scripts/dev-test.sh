#!/usr/bin/env bash
# For working on one area beside others: builds with the same presets as
# scripts/build.sh, but into build-<name>/ (its own Windows and native trees
# and its own Wine prefix), and runs ctest there.
#   scripts/dev-test.sh <name> [ctest arguments, e.g. -R wine.Clipsy]
set -eu
cd "$(dirname "$0")/.."
name="$1"; shift
root="$PWD/build-$name"
mkdir -p "$root"
build() {
  local preset="$1" log="$root/$1.log"
  shift
  if ! { cmake --preset "$preset" -B "$root/$preset" "$@" && cmake --build "$root/$preset" -j2; } >"$log" 2>&1; then
    grep -E 'error|Error' -A3 "$log" | head -60
    echo "build of $preset failed; see $log" >&2
    exit 1
  fi
}
build windows
build native -DORBISK_WINDOWS_BUILD_DIR="$root/windows"
. scripts/wine-env.sh
use_wine_prefix "$root/windows/wine-test-prefix" shared
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$root/native" --output-on-failure -j2 "$@"
