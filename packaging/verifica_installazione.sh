#!/usr/bin/env bash
# Installs the build into a temporary folder, as the package will, and checks
# what a desktop needs: the program and its files, a valid menu entry, valid
# AppStream metadata, the icons and the man page.
#   packaging/verifica_installazione.sh BUILD_DIR
set -euo pipefail
costruzione=${1:?usage: verifica_installazione.sh BUILD_DIR}
destinazione=$(mktemp -d)
trap 'rm -rf "$destinazione"' EXIT
DESTDIR=$destinazione cmake --install "$costruzione" --prefix /usr >/dev/null
r=$destinazione/usr
errori=0
manca() { echo "missing: ${1#$destinazione}" >&2; errori=1; }
for f in bin/tovarin share/tovarin/italian.lng share/tovarin/english.lng share/tovarin/Guida.chm \
         share/icons/hicolor/scalable/apps/org.example.tovarin.svg share/man/man1/tovarin.1.gz \
         share/doc/tovarin/copyright share/doc/tovarin/changelog.gz; do
  [ -f "$r/$f" ] || manca "$r/$f"
done
for lato in 16 22 24 32 48 64 128 256; do
  [ -f "$r/share/icons/hicolor/${lato}x$lato/apps/org.example.tovarin.png" ] || manca "$lato px icon"
done
desktop-file-validate "$r/share/applications/org.example.tovarin.desktop" || errori=1
if command -v mandoc >/dev/null; then
  mandoc -T lint -W warning "$r/share/man/man1/tovarin.1.gz" || errori=1
fi
appstreamcli validate --no-net --pedantic "$r/share/metainfo/org.example.tovarin.metainfo.xml" || errori=1
exit $errori
