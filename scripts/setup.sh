#!/usr/bin/env bash
# Installs what Orbisk's build, run and tests need on Debian 12, only what is
# missing: packages, the ja_JP.UTF-8 locale. Quiet when nothing is missing.
set -eu

packages=(g++-mingw-w64-x86-64-posix g++ cmake make googletest libgtest-dev wine wine64
          xvfb xauth xdotool imagemagick x11-apps locales fonts-ipafont-gothic python3 iproute2
          nlohmann-json3-dev)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The browser tests: Chromium and Firefox ESR from Debian, and Node for their
# driver, Debian's own unless a Node 18 or later is already on PATH.
packages+=(chromium firefox-esr)
node_major="$(node -p 'process.versions.node.split(".")[0]' 2>/dev/null || echo 0)"
if [ "$node_major" -lt 18 ]; then
  packages+=(nodejs npm)
elif ! command -v npm >/dev/null; then
  packages+=(npm)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "Generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

# The browser tests' npm packages, pinned by the lock file: installed again
# whenever the lock file changed since the last install.
browser_tests="$(dirname "$0")/../tests/browser"
if ! cmp -s "$browser_tests/package-lock.json" "$browser_tests/node_modules/.orbisk-installed-lock"; then
  echo "Installing the browser tests' npm packages"
  (cd "$browser_tests" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
  cp "$browser_tests/package-lock.json" "$browser_tests/node_modules/.orbisk-installed-lock"
fi
