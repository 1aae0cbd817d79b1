#!/usr/bin/env bash
# Makes Orbisk's release packages in dist/ (see README.md, "Release
# packages"): installs what is missing, builds the Windows programs and the
# installer, and packs them with scripts/package-release.sh.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
scripts/package-release.sh build/windows dist
echo "Release packages in dist/:"
(cd dist && ls -l)
