# Sourced by the scripts that run Orbisk's programs under Wine. Sets WINE64
# and WINESERVER, found once here, and offers
#   use_wine_prefix <prefix> [shared]
# which exports the environment every run relies on (the prefix, code page
# 932, no Mono/Gecko prompts), creates the prefix once, and with "shared"
# keeps one wineserver alive until the calling script exits: starting one per
# program costs seconds.

# Debian's 64-bit Wine: wine64 itself, not the /usr/bin/wine wrapper, which
# warns about a missing wine32 on every start.
find_wine_program() {
  local name="$1" candidate
  for candidate in "/usr/lib/wine/$name" "/usr/lib/x86_64-linux-gnu/wine/$name" "$(command -v "$name" || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
      echo "$candidate"
      return 0
    fi
  done
  echo "$name not found: install Debian's wine and wine64 packages (scripts/setup.sh does)" >&2
  return 1
}
WINE64="${WINE64:-$(find_wine_program wine64)}"
WINESERVER="${WINESERVER:-$(find_wine_program wineserver)}"
export WINE64 WINESERVER

# add_exit_trap <command>: runs command when the calling script exits, after
# whatever EXIT trap the script had already set.
add_exit_trap() {
  local previous
  previous="$(trap -p EXIT | sed -E "s/^trap -- '(.*)' EXIT\$/\\1/")"
  # shellcheck disable=SC2064
  trap "${previous:+$previous; }$1" EXIT
}

use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" "$WINEPREFIX"
  if [ "${2:-}" = shared ]; then
    "$WINESERVER" -p || true  # one may already be running for this prefix
    add_exit_trap '"$WINESERVER" -k 2>/dev/null || true'
  fi
}
