#!/usr/bin/env bash
# package-release.sh <Windows build folder> <output folder>
# Packs what a Windows build made into the release packages (the part of
# scripts/release.sh after the build; its test runs it into a folder of its
# own). The output folder is emptied first.
#   Orbisk-<version>-setup.exe                 the per-user installer
#   Orbisk-<version>-portable.zip              the six programs and the extension folder
#   Orbisk-<version>-extension-chromium.zip    for the Chrome Web Store and Edge Add-ons
#   Orbisk-<version>-extension-firefox.zip     for addons.mozilla.org, `web-ext lint` clean
#   SHA256SUMS
# The extension always comes from bridge/extension, the folder users load:
# the browser tests' copy with its test hook lives in the build trees only.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
extension="$root/bridge/extension"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")"
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }
# A store takes an upload only with a version above the last one: the
# extension's version has to move with the program's.
manifest_version="$(node -p "require('$extension/manifest.json').version")"
if [ "$manifest_version" != "$version" ]; then
  echo "bridge/extension/manifest.json has version $manifest_version, the program $version:" \
       "give both the same version" >&2
  exit 1
fi
web_ext="$root/packaging/node_modules/.bin/web-ext"
[ -x "$web_ext" ] || { echo "web-ext missing: run scripts/setup.sh (npm ci in packaging/)" >&2; exit 1; }

installer="$build/packaging/Orbisk-$version-setup.exe"
programs=("$build/mainwindow/Orbisk.exe" "$build/mainwindow/OrbiskHost.exe"
          "$build/launchers/jotwell/Jotwell.exe" "$build/launchers/fetchbay/Fetchbay.exe"
          "$build/launchers/pagewatch/Pagewatch.exe" "$build/launchers/clipsy/Clipsy.exe")
for file in "$installer" "${programs[@]}"; do
  [ -f "$file" ] || { echo "$file missing: build first (scripts/build.sh)" >&2; exit 1; }
done

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
# Every file of the archives gets the time of the last commit, so that the
# same sources give the same archives.
mtime="$(TZ=UTC git -C "$root" log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S UTC' 2>/dev/null ||
         echo '2000-01-01 00:00:00 UTC')"

# zip_folder <folder> <archive>: the folder's contents, sorted, at the
# archive's root.
zip_folder() {
  (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort >"$stage/list" &&
   cmake -E tar cf "$2" --format=zip --mtime="$mtime" --files-from="$stage/list")
}

rm -rf "${out:?}"/*
cp "$installer" "$out/"

# Portable: a folder to unpack anywhere; Orbisk keeps its items below it.
mkdir -p "$stage/portable/Orbisk-$version"
cp "${programs[@]}" "$stage/portable/Orbisk-$version/"
cp -r "$extension" "$stage/portable/Orbisk-$version/extension"
zip_folder "$stage/portable" "$out/Orbisk-$version-portable.zip"

# The stores sign what they publish and give the extension its id
# themselves: the Chrome Web Store refuses a manifest that carries "key"
# (it is for loading the folder unpacked, where it fixes the id the host
# allows), and Firefox does not use it. key.txt and README.md only explain
# that key to whoever loads the folder. Each store then gets the manifest
# its browser reads without a warning: Chromium's without the background
# scripts and Gecko settings it does not know, Firefox's without the
# service worker it does not run. Everything else stays as it is.
store_manifest() {
  node -e '
    const fs = require("fs");
    const [file, store] = process.argv.slice(1);
    const manifest = JSON.parse(fs.readFileSync(file, "utf8"));
    delete manifest.key;
    if (store === "chromium") {
      delete manifest.background.scripts;
      delete manifest.browser_specific_settings;
    } else {
      delete manifest.background.service_worker;
    }
    fs.writeFileSync(file, JSON.stringify(manifest, null, 2) + "\n");
  ' "$1" "$2"
}
for store in chromium firefox; do
  cp -r "$extension" "$stage/$store"
  rm -f "$stage/$store/key.txt" "$stage/$store/README.md"
  store_manifest "$stage/$store/manifest.json" "$store"
done
"$web_ext" lint --source-dir "$stage/firefox" --output json >"$stage/lint.json" 2>/dev/null || true
errors="$(node -p "JSON.parse(require('fs').readFileSync('$stage/lint.json','utf8')).summary.errors")"
if [ "$errors" != 0 ]; then
  "$web_ext" lint --source-dir "$stage/firefox" >&2 || true
  echo "web-ext lint found $errors errors in the Firefox package" >&2
  exit 1
fi
zip_folder "$stage/chromium" "$out/Orbisk-$version-extension-chromium.zip"
zip_folder "$stage/firefox" "$out/Orbisk-$version-extension-firefox.zip"

(cd "$out" && sha256sum -- *.exe *.zip >SHA256SUMS)
