# Sourced by the scripts that run Orbisk's programs under Wine:
#   use_wine_prefix <prefix> [shared]
# exports the environment every run relies on (the prefix, code page 932, no
# Mono/Gecko prompts), creates the prefix once, and with "shared" keeps one
# wineserver alive until the calling script exits: starting one per program
# costs seconds.
use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" "$WINEPREFIX"
  if [ "${2:-}" = shared ]; then
    /usr/lib/wine/wineserver -p
    trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
  fi
}
