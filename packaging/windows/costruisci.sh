#!/usr/bin/env bash
# Cross-builds the program for Windows in build-windows/ (the dependencies
# from dipendenze.sh's cache) and makes, in the project's folder:
#   tovarin-<version>-windows.zip   the folder to run from anywhere (a USB
#                                   stick): it keeps its archive beside itself
#   tovarin-<version>-setup.exe     the installer (NSIS): Program Files, a
#                                   Start menu entry, an uninstaller that leaves
#                                   the coach's data; silent with /S
set -euo pipefail
QUI="$(cd "$(dirname "$0")" && pwd)"
RADICE="$(cd "$QUI/../.." && pwd)"
CACHE="${TOVARIN_WINDOWS_CACHE:-$HOME/.cache/tovarin-windows}"
PREFISSO="$CACHE/mingw64"
COSTRUZIONE="$RADICE/build-windows"
HOST=x86_64-w64-mingw32
cd "$RADICE"
VERSIONE="$(sed -n 's/^project(Tovarin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"

[ -f "$PREFISSO/lib/cmake/Qt6/qt.toolchain.cmake" ] || { echo "Qt for Windows is not built: run packaging/windows/dipendenze.sh" >&2; exit 1; }

"$QUI/configura.sh"
# The program and its help; the tests are test-windows's.
nice cmake --build "$COSTRUZIONE" --target tovarin guida_chm

# The DLLs a program or plugin needs, found among those built here and the
# compilers' runtime; the system's own (KERNEL32, USER32 ...) are not there
# and stay out.
CERCA=("$PREFISSO/bin" "$(dirname "$($HOST-gcc-posix -print-libgcc-file-name)")" "/usr/$HOST/lib" "/usr/$HOST/bin")
dipendenze_dll() {
  local da_vedere=("$@") visti=() f nome c
  while [ ${#da_vedere[@]} -gt 0 ]; do
    f="${da_vedere[0]}"; da_vedere=("${da_vedere[@]:1}")
    for nome in $($HOST-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p'); do
      [[ " ${visti[*]-} " == *" ${nome,,} "* ]] && continue
      visti+=("${nome,,}")
      for c in "${CERCA[@]}"; do
        if [ -f "$c/$nome" ]; then
          echo "$c/$nome"
          da_vedere+=("$c/$nome")
          break
        fi
      done
    done
  done | sort -u
}

# The folder: the program, its DLLs, the Qt plugins it uses (the windows
# platform, the styles, printing, the SVG image format), Qt's own Italian
# texts, the language files and the help.
raccogli() {
  local cartella="$1" dati="$2"
  rm -rf "$cartella"
  mkdir -p "$cartella" "$dati"
  cp "$COSTRUZIONE/app/tovarin.exe" "$cartella/"
  local plugin=() p
  for p in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qsvg.dll iconengines/qsvgicon.dll; do
    [ -f "$PREFISSO/plugins/$p" ] || continue
    mkdir -p "$cartella/$(dirname "$p")"
    cp "$PREFISSO/plugins/$p" "$cartella/$p"
    plugin+=("$cartella/$p")
  done
  if [ -d "$PREFISSO/plugins/printsupport" ]; then
    cp -r "$PREFISSO/plugins/printsupport" "$cartella/"
    plugin+=("$cartella"/printsupport/*.dll)
  fi
  dipendenze_dll "$cartella/tovarin.exe" "${plugin[@]}" | while read -r dll; do cp "$dll" "$cartella/"; done
  $HOST-strip --strip-unneeded "$cartella"/*.dll "$cartella"/*/*.dll "$cartella/tovarin.exe"
  printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' > "$cartella/qt.conf"
  mkdir -p "$cartella/translations"
  for q in /usr/share/qt6/translations/qtbase_it.qm; do [ -f "$q" ] && cp "$q" "$cartella/translations/"; done
  cp "$COSTRUZIONE/app/italian.lng" "$COSTRUZIONE/app/english.lng" "$COSTRUZIONE/app/Guida.chm" "$dati/"
  cp "$RADICE/LICENSE" "$cartella/LICENSE.txt"
}

# The copy to carry: everything beside the program, which then keeps its
# archive there too.
PORTATILE="$COSTRUZIONE/pacchetti/tovarin-$VERSIONE"
raccogli "$PORTATILE" "$PORTATILE"
rm -f "tovarin-$VERSIONE-windows.zip"
(cd "$(dirname "$PORTATILE")" && zip -qr9 "$RADICE/tovarin-$VERSIONE-windows.zip" "tovarin-$VERSIONE")

# The installed copy: the language files and help in share\tovarin, as on
# Linux, which is how the program knows it is installed and keeps the coach's
# data in %APPDATA%\tovarin.
INSTALLATO="$COSTRUZIONE/pacchetti/installato"
raccogli "$INSTALLATO" "$INSTALLATO/share/tovarin"
# What the uninstaller removes: exactly the files it installed.
(
  cd "$INSTALLATO"
  find . -type f | sed 's|^\./||; s|/|\\|g' | sort | sed 's|^|  Delete "$INSTDIR\\|; s|$|"|'
  find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r | sed 's|^|  RMDir "$INSTDIR\\|; s|$|"|'
) > "$COSTRUZIONE/pacchetti/disinstalla.nsh"
rm -f "tovarin-$VERSIONE-setup.exe"
makensis -V2 -DVERSIONE="$VERSIONE" -DCARTELLA="$INSTALLATO" -DDISINSTALLA="$COSTRUZIONE/pacchetti/disinstalla.nsh" \
  -DUSCITA="$RADICE/tovarin-$VERSIONE-setup.exe" -DLICENZA="$RADICE/LICENSE" "$QUI/tovarin.nsi"

ls -l "tovarin-$VERSIONE-windows.zip" "tovarin-$VERSIONE-setup.exe"
