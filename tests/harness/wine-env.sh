# Sourced by the harness scripts: the Wine environment of one build folder's test prefix.
# Usage: . wine-env.sh <build-dir>
TESSARO_BUILD_DIR=$(cd "$1" && pwd)
export TESSARO_BUILD_DIR
export WINEPREFIX="$TESSARO_BUILD_DIR/wineprefix"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs: nothing here needs .NET or the HTML engine.
export WINEDLLOVERRIDES="mscoree,mshtml="
export TESSARO_URL_LOG=${TESSARO_URL_LOG:-$TESSARO_BUILD_DIR/urls.log}
export TESSARO_ARTIFACTS=${TESSARO_ARTIFACTS:-$TESSARO_BUILD_DIR/artifacts}

# True when this process's network namespace has no interface but loopback,
# so nothing started from here can send a packet off the machine.
in_private_netns() {
  local interfaces
  interfaces=$(awk -F: 'NR > 2 {gsub(/ /, "", $1); print $1}' /proc/self/net/dev) || return 1
  [ "$interfaces" = lo ]
}
