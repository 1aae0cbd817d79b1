#!/usr/bin/env bash
# Configures and builds the Windows programs (mingw-w64), the installer and
# the Windows tests and, with "all", the native test build as well. Says in
# one line what it is building; the compilers' output goes to build/*.log and
# is shown only when something fails.
set -eu
cd "$(dirname "$0")/.."
mkdir -p build
# stage <message> <preset> [targets…]: configures the preset and builds the
# targets (all of it when none are named).
stage() {
  local message="$1" preset="$2" log="build/$2.log"
  shift 2
  echo "$message"
  local targets=()
  if [ $# -gt 0 ]; then targets=(--target "$@"); fi
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" "${targets[@]}"; } >>"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "build of $preset failed; see $log" >&2
    exit 1
  fi
}
rm -f build/windows.log build/native.log
stage "Building the Windows programs…" windows Orbisk OrbiskHost Jotwell Fetchbay Pagewatch Clipsy
stage "Building the installer…" windows installer
stage "Building the Windows tests…" windows
if [ "${1:-}" = all ]; then stage "Building the native tests…" native; fi
