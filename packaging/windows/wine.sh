#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: a Wine prefix of its own
# (made on first use), the DLLs built for Windows on its path, Qt without a
# display (offscreen), Wine's own chatter off.
set -euo pipefail
QUI="$(cd "$(dirname "$0")" && pwd)"
RADICE="$(cd "$QUI/../.." && pwd)"
CACHE="${TOVARIN_WINDOWS_CACHE:-$HOME/.cache/tovarin-windows}"
PREFISSO="$CACHE/mingw64"
HOST=x86_64-w64-mingw32
export WINEPREFIX="${TOVARIN_WINEPREFIX:-$RADICE/build-windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
runtime="$(dirname "$($HOST-gcc-posix -print-libgcc-file-name)")"
z() { echo "Z:${1//\//\\}"; }
export QT_PLUGIN_PATH="$(z "$PREFISSO/plugins")"
export WINEPATH="$(z "$PREFISSO/bin");$(z "$runtime");$(z "/usr/$HOST/lib")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
exec wine "$@"
