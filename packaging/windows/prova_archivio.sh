#!/usr/bin/env bash
# One archive on both systems: an archive and a backup made by the Linux
# build open under Wine in the Windows build with the same athletes, left
# unchanged, and the reverse. Run by prova.sh after the tests, with both
# builds there (build/ and build-windows/).
set -euo pipefail
QUI="$(cd "$(dirname "$0")" && pwd)"
RADICE="$(cd "$QUI/../.." && pwd)"
VERSIONE="$(sed -n 's/^project(Tovarin VERSION \([0-9.]*\).*/\1/p' "$RADICE/CMakeLists.txt")"
LINUX="$RADICE/build/app"
WINDOWS="$RADICE/build-windows/pacchetti/tovarin-$VERSIONE"
LAVORO="$RADICE/build-windows/prova-archivio"
fallito() { echo "FAILED: $*" >&2; exit 1; }
[ -x "$LINUX/tovarin" ] || fallito "no Linux build in build/ (./tovarin test makes it)"
[ -f "$WINDOWS/tovarin.exe" ] || fallito "no Windows folder in $WINDOWS (packaging/windows/costruisci.sh makes it)"
rm -rf "$LAVORO"
mkdir -p "$LAVORO"

# Two athletes with every kind of column: dates, measures, texts with
# quotes, commas and line breaks, letters beyond ASCII, the yes/no.
colonne="nome,datanascita,indirizzo,tel,Email,bici,Societa,Categoria,Tessera,Scadenza,sesso,TipoImpiego,AttivFis,"
colonne+="pulsazioniriposo,cavallo,busto,coscia,gamba,braccio,spalle,altezza,peso,sella,myHS,myDSM,mySM,myR,myPE,"
colonne+="MarcaSella,Manubrio,Gruppo,Ruote,pedali,note"
campione=$LAVORO/campione.csv
{
  printf '%s\r\n' "$colonne"
  printf '"Rossi ""il Toro"", Mario","1988-03-15","Via Roma 1","0422 123456","m@example.org","Pinarello","GS Treviso",'
  printf '"Elite","007123","2027-12-31","M","moderata",1,52,86.5,62,58.5,55,64,42,181,71.5,27.5,75.2,"7,5 circa",,,172.5,'
  printf '"Selle Italia","Compact","Ultegra","Fulcrum","Look","riga uno\nriga due"\r\n'
  printf '"Zoë Nicolò",,,,,,,,,,"F","light",0,,80,,,,,,165,55.25,,,,,,,,,,,,\r\n'
} >"$campione"

# A copy of a build's program folder, which then keeps its archive beside
# itself.
linux() { (cd "$1" && shift && env -i PATH=/usr/bin:/bin HOME=/root LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR="$LAVORO/xdg" ./tovarin "$@"); }
windows() { (cd "$1" && shift && "$QUI/wine.sh" tovarin.exe "$@"); }
install -d -m 700 "$LAVORO/xdg"

mkdir -p "$LAVORO/linux"
cp "$LINUX/tovarin" "$LINUX"/*.lng "$LAVORO/linux/"
cp "$campione" "$LAVORO/linux/campione.csv"
linux "$LAVORO/linux" --import-csv campione.csv
linux "$LAVORO/linux" --backup copia.dmg >/dev/null
linux "$LAVORO/linux" --export-csv esportato.csv >/dev/null
[ "$(grep -c '^"' "$LAVORO/linux/esportato.csv")" = 2 ] || fallito "the sample did not import on Linux"

for nome in tvp.dmg copia.dmg; do
  rm -rf "$LAVORO/win"
  cp -r "$WINDOWS" "$LAVORO/win"
  cp "$LAVORO/linux/$nome" "$LAVORO/win/tvp.dmg"
  prima=$(sha256sum <"$LAVORO/win/tvp.dmg")
  windows "$LAVORO/win" --export-csv esportato.csv >/dev/null || fallito "the $nome made on Linux does not open on Windows"
  cmp -s "$LAVORO/win/esportato.csv" "$LAVORO/linux/esportato.csv" || fallito "the $nome made on Linux reads differently on Windows"
  [ "$(sha256sum <"$LAVORO/win/tvp.dmg")" = "$prima" ] || fallito "the $nome made on Linux changed on Windows"
  echo "The $nome made on Linux: opens on Windows, the same athletes, unchanged"
done

rm -rf "$LAVORO/fattowin"
cp -r "$WINDOWS" "$LAVORO/fattowin"
cp "$campione" "$LAVORO/fattowin/campione.csv"
windows "$LAVORO/fattowin" --import-csv campione.csv
windows "$LAVORO/fattowin" --backup copia.dmg >/dev/null
for nome in tvp.dmg copia.dmg; do
  rm -rf "$LAVORO/dawin"
  mkdir -p "$LAVORO/dawin"
  cp "$LINUX/tovarin" "$LINUX"/*.lng "$LAVORO/dawin/"
  cp "$LAVORO/fattowin/$nome" "$LAVORO/dawin/tvp.dmg"
  prima=$(sha256sum <"$LAVORO/dawin/tvp.dmg")
  linux "$LAVORO/dawin" --export-csv esportato.csv >/dev/null || fallito "the $nome made on Windows does not open on Linux"
  cmp -s "$LAVORO/dawin/esportato.csv" "$LAVORO/linux/esportato.csv" || fallito "the $nome made on Windows reads differently on Linux"
  [ "$(sha256sum <"$LAVORO/dawin/tvp.dmg")" = "$prima" ] || fallito "the $nome made on Windows changed on Linux"
  echo "The $nome made on Windows: opens on Linux, the same athletes, unchanged"
done
