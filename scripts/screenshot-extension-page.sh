#!/usr/bin/env bash
# Takes a picture of the browser extension's own page in Chromium on a virtual
# screen (Xvfb), with the real OrbiskHost.exe answering under Wine.
#   scripts/screenshot-extension-page.sh [output.png]
# Default: docs/extension-page.png. Builds the Windows programs first.
set -eu
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/extension-page.png}")"
scripts/setup.sh
scripts/build.sh
work="$(mktemp -d)"
source scripts/wine-env.sh
use_wine_prefix "$work/prefix" shared
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
  node tests/browser/tools/screenshot.mjs --windows-build build/windows --work "$work" --out "$out"
