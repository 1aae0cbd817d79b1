#!/usr/bin/env bash
# For working on one area beside others: builds into build-<name>/ (its own
# Windows and native trees and its own Wine prefix) and runs ctest there.
#   scripts/dev-test.sh <name> [ctest arguments, e.g. -R wine.Clipsy]
set -eu
cd "$(dirname "$0")/.."
name="$1"; shift
root="$PWD/build-$name"
mkdir -p "$root"
cmake -S . -B "$root/windows" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >"$root/windows.log" 2>&1 || { tail -40 "$root/windows.log"; exit 1; }
cmake --build "$root/windows" -j2 >>"$root/windows.log" 2>&1 || { grep -E 'error|Error' -A3 "$root/windows.log" | head -60; exit 1; }
cmake -S . -B "$root/native" -DCMAKE_BUILD_TYPE=Debug -DORBISK_WINDOWS_BUILD_DIR="$root/windows" \
      >"$root/native.log" 2>&1 || { tail -40 "$root/native.log"; exit 1; }
cmake --build "$root/native" -j2 >>"$root/native.log" 2>&1 || { grep -E 'error|Error' -A3 "$root/native.log" | head -60; exit 1; }
. scripts/wine-env.sh
use_wine_prefix "$root/windows/wine-test-prefix" shared
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$root/native" --output-on-failure -j2 "$@"
