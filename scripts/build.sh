#!/usr/bin/env bash
# Configures and builds the Windows programs (mingw-w64) and, with "all", the
# native test build as well. Quiet unless something fails.
set -eu
cd "$(dirname "$0")/.."
build() {
  local preset="$1" log="build/$1.log"
  mkdir -p build
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "build of $preset failed; see $log" >&2
    exit 1
  fi
}
build windows
if [ "${1:-}" = all ]; then build native; fi
