#!/usr/bin/env bash
# Cross-builds every test for Windows in build-windows/ and runs them under
# Wine (wine.sh: a Wine prefix of its own, the offscreen platform). A test
# that cannot run there says so and is skipped, with its reason. Then an
# archive made on Linux is opened on Windows, and the reverse.
set -euo pipefail
QUI="$(cd "$(dirname "$0")" && pwd)"
RADICE="$(cd "$QUI/../.." && pwd)"
"$QUI/configura.sh"
nice cmake --build "$RADICE/build-windows"
# Make the Wine prefix once, before the tests run side by side.
"$QUI/wine.sh" cmd /c exit >/dev/null 2>&1 || true
cd "$RADICE/build-windows"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
# One archive on both systems (the Linux build made by ./tovarin test-windows).
"$QUI/costruisci.sh"
"$QUI/prova_archivio.sh"
