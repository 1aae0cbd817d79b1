#!/usr/bin/env bash
# Installs what Orbisk's build, run and tests need on Debian 12, only what is
# missing: packages, the ja_JP.UTF-8 and en_US.UTF-8 locales. Quiet when nothing is
# missing; otherwise it says what it installs and shows apt's own progress.
set -eu

# nsis makes the Windows installer (packaging/orbisk.nsi) on this machine.
# wine64-preloader is only recommended by wine64, but without it Wine cannot
# hold the low addresses it needs before the system maps its libraries, and
# about one start in a thousand ends at once ("failed to map the shared user
# data", exit status 1): a test program that never starts, or an explorer.exe
# that never comes up, at random.
packages=(g++-mingw-w64-x86-64-posix g++ cmake make googletest libgtest-dev wine wine64
          wine64-preloader xvfb xauth xdotool imagemagick x11-apps locales fonts-ipafont-gothic
          python3 iproute2 nlohmann-json3-dev nsis)

# as_root <command…>: runs the command as root, through sudo when needed.
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
# Japanese for Orbisk itself; English for the tests that check Orbisk under
# a Western system locale.
locales=(ja_JP en_US)
missing_locales=()
for name in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$" || missing_locales+=("$name")
done
need_locale=0
[ "${#missing_locales[@]}" -eq 0 ] || need_locale=1

# Everything that needs root, as one list, so that a user without sudo is
# told the whole of it at once.
root_commands=()
if [ "${#missing[@]}" -gt 0 ]; then
  root_commands+=("apt-get update" "apt-get install -y --no-install-recommends ${missing[*]}")
fi
if [ "$need_locale" -eq 1 ]; then
  for name in "${missing_locales[@]}"; do
    root_commands+=("sed -i 's/^# *\\($name.UTF-8 UTF-8\\)/\\1/' /etc/locale.gen")
  done
  root_commands+=("locale-gen")
fi

if [ "${#root_commands[@]}" -gt 0 ] && [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
  {
    echo "Orbisk's set-up has to install what is missing, which needs root rights."
    echo "This account is not root and has no sudo. Run these as root (for example after su -),"
    echo "then run this command again:"
    for line in "${root_commands[@]}"; do echo "    $line"; done
  } >&2
  exit 1
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing ${#missing[@]} missing packages (up to about 300 MB; two to three minutes on a bare machine):"
  echo "    ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  echo "Packages installed."
fi

if [ "$need_locale" -eq 1 ]; then
  for name in "${missing_locales[@]}"; do
    echo "Generating the $name.UTF-8 locale"
    as_root sed -i "s/^# *\\($name.UTF-8 UTF-8\\)/\\1/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen >/dev/null
fi

# npm_ci_when_changed <folder> <what>: installs the npm packages the folder's
# lock file pins, again whenever the lock file changed since the last install.
npm_ci_when_changed() {
  local folder="$1" what="$2"
  if ! cmp -s "$folder/package-lock.json" "$folder/node_modules/.orbisk-installed-lock"; then
    echo "Installing $what"
    (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
    cp "$folder/package-lock.json" "$folder/node_modules/.orbisk-installed-lock"
  fi
}
npm_ci_when_changed "$(dirname "$0")/../tests/browser" "the browser tests' npm packages"
# web-ext lints the Firefox release package.
npm_ci_when_changed "$(dirname "$0")/../packaging" "the release packaging's npm packages"
