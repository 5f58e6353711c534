#!/usr/bin/env bash
# Configures build-windows/: the program and its tests cross-built for
# Windows against the dependencies in dipendenze.sh's cache, the tests run
# under Wine.
set -euo pipefail
QUI="$(cd "$(dirname "$0")" && pwd)"
RADICE="$(cd "$QUI/../.." && pwd)"
CACHE="${TOVARIN_WINDOWS_CACHE:-$HOME/.cache/tovarin-windows}"
PREFISSO="$CACHE/mingw64"
[ -f "$RADICE/build-windows/build.ninja" ] && exit 0
cmake -S "$RADICE" -B "$RADICE/build-windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PREFISSO/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DTOVARIN_WINDOWS_PREFIX="$PREFISSO" -DCMAKE_PREFIX_PATH="$PREFISSO" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$QUI/wine.sh" \
  -DTOVARIN_BENCH=OFF -DTOVARIN_HARDENING=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER="$(command -v ccache || true)"
