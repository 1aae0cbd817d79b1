#!/usr/bin/env bash
# fresh_prefix.sh <prefix> <wine-run> <program> [arguments…]
# Runs a Windows test program in a Wine prefix made afresh for this run, with
# a wineserver of its own that ends with it.
set -eu
prefix="$1"; shift
rm -rf "$prefix" "$prefix.lock"
. "$(dirname "$0")/../../../scripts/wine-env.sh"
use_wine_prefix "$prefix" shared
"$@"
