#!/usr/bin/env bash
# The program on Debian 13, and one archive for both releases:
#   packaging/prova_debian13.sh [WORK_FOLDER]
# Makes a minimal Debian 13 with debootstrap (kept in WORK_FOLDER for the next
# run; TOVARIN_DEBIAN13_NUOVO=1 makes it afresh), runs the README's test
# command in it on a copy of this tree, then tries the archive both ways:
# an archive and a backup made by this machine's build are read there, and
# one made there is read here, each opened without a change to its bytes and
# exported to the same CSV text; the same for an archive and a backup locked
# by a passphrase, which open on the other release with it and not without. Needs root, debootstrap, a Debian mirror and
# this machine's build (build/app).
set -euo pipefail
cd "$(dirname "$0")/.."

lavoro=$(realpath -m "${1:-build/debian13}")
specchio=${TOVARIN_MIRROR:-http://deb.debian.org/debian}
radice=$lavoro/root
sorgenti=/root/tovarin

[ "$(id -u)" -eq 0 ] || { echo "prova_debian13.sh: run as root (debootstrap, chroot)" >&2; exit 1; }
[ -x build/app/tovarin ] || { echo "prova_debian13.sh: build the program here first (./tovarin test)" >&2; exit 1; }
passo() { printf '\n== %s\n' "$*"; }
fallito() { echo "FAILED: $*" >&2; exit 1; }
inizio=$SECONDS
durata() { echo "($((SECONDS - $1)) s)"; }

smonta() {
  for m in "$radice/dev/pts" "$radice/dev" "$radice/proc"; do
    mountpoint -q "$m" 2>/dev/null && { umount "$m" 2>/dev/null || umount -l "$m"; }
  done
  return 0
}
trap smonta EXIT
smonta

if [ "${TOVARIN_DEBIAN13_NUOVO:-0}" = 1 ] || [ ! -f "$radice/.tovarin-pronto" ]; then
  passo "A fresh minimal Debian 13 in $radice"
  t=$SECONDS
  rm -rf "$radice"
  mkdir -p "$lavoro/cache"
  debootstrap --variant=minbase --cache-dir="$lavoro/cache" trixie "$radice" "$specchio" >"$lavoro/debootstrap.log" 2>&1 ||
    { tail -20 "$lavoro/debootstrap.log"; fallito "debootstrap"; }
  touch "$radice/.tovarin-pronto"
  echo "debootstrap $(durata $t)"
fi
mount --bind /proc "$radice/proc"
mount --bind /dev "$radice/dev"
mount --bind /dev/pts "$radice/dev/pts"
cp /etc/resolv.conf "$radice/etc/resolv.conf"
dentro() { chroot "$radice" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

passo "This tree in $radice$sorgenti (its build folder kept from the last run)"
# The files land with the time of the copy (tar -m): a build kept from an
# earlier run must never take a changed file older than its objects for built.
mkdir -p "$radice$sorgenti"
find "$radice$sorgenti" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -xmf - -C "$radice$sorgenti"
else
  tar --exclude=./build --exclude='./build-*' -cf - . | tar -xmf - -C "$radice$sorgenti"
fi

passo "./tovarin test on Debian 13"
t=$SECONDS
dentro bash -c "cd $sorgenti && ./tovarin test" >"$lavoro/test.log" 2>&1 || { tail -40 "$lavoro/test.log"; fallito "the tests on Debian 13"; }
grep -E 'tests passed|tests failed' "$lavoro/test.log" | tail -1
echo "set-up, build and tests $(durata $t)"
dentro dpkg-query -W -f='${Package} ${Version}\n' libsqlcipher1 qt6-base-dev g++ 2>/dev/null || true

passo "One archive for both releases"
# Two athletes with every kind of column: dates, measures, texts with
# quotes, commas and line breaks, the yes/no.
colonne="nome,datanascita,indirizzo,tel,Email,bici,Societa,Categoria,Tessera,Scadenza,sesso,TipoImpiego,AttivFis,"
colonne+="pulsazioniriposo,cavallo,busto,coscia,gamba,braccio,spalle,altezza,peso,sella,myHS,myDSM,mySM,myR,myPE,"
colonne+="MarcaSella,Manubrio,Gruppo,Ruote,pedali,note"
campione=$lavoro/campione.csv
{
  printf '%s\r\n' "$colonne"
  printf '"Rossi ""il Toro"", Mario","1988-03-15","Via Roma 1","0422 123456","m@example.org","Pinarello","GS Treviso",'
  printf '"Elite","007123","2027-12-31","M","moderata",1,52,86.5,62,58.5,55,64,42,181,71.5,27.5,75.2,"7,5 circa",,,172.5,'
  printf '"Selle Italia","Compact","Ultegra","Fulcrum","Look","riga uno\nriga due"\r\n'
  printf '"Bianchi Anna",,,,,,,,,,"F","light",0,,80,,,,,,165,55.25,,,,,,,,,,,,\r\n'
} >"$campione"

# A copy of a build's program folder, which then keeps its archive beside
# itself; the program run there, in the C locale.
cartella() { rm -rf "$1" && mkdir -p "$1" && cp "$2"/tovarin "$2"/*.lng "$1"/; }
ambiente=(LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/tovarin-xdg)
install -d -m 700 /tmp/tovarin-xdg "$radice/tmp/tovarin-xdg"
qui() { (cd "$1" && shift && env -i PATH=/usr/bin:/bin HOME=/root "${ambiente[@]}" ./tovarin "$@"); }
la() { local c=$1; shift; dentro env "${ambiente[@]}" bash -c 'cd "$0" && ./tovarin "$@"' "$c" "$@"; }
# The same without a terminal, where nothing can be asked.
qui_senza_terminale() { (cd "$1" && shift && setsid -w env -i PATH=/usr/bin:/bin HOME=/root "${ambiente[@]}" ./tovarin "$@"); }
la_senza_terminale() {
  local c=$1
  shift
  dentro setsid -w env "${ambiente[@]}" bash -c 'cd "$0" && ./tovarin "$@"' "$c" "$@"
}
# Exported there, the archive must give the same text as here, and be left
# as it was.
# The passphrase of the locked archives, in a file only its owner reads.
frase=$lavoro/frase.txt
printf 'Passo del Mortirolo 1990\n' >"$frase"
chmod 600 "$frase"
install -m 600 "$frase" "$radice/tmp/frase.txt"
confronta() {
  local file=$1 atteso=$2 cosa=$3 prima
  shift 3
  cartella "$radice/tmp/app13" "$radice$sorgenti/build/app"
  cp "$file" "$radice/tmp/app13/tvp.dmg"
  prima=$(sha256sum <"$radice/tmp/app13/tvp.dmg")
  if [ $# -gt 0 ]; then
    ! la_senza_terminale /tmp/app13 --export-csv /tmp/app13/esportato.csv >/dev/null 2>&1 ||
      fallito "$cosa opens on Debian 13 without its passphrase"
  fi
  la /tmp/app13 --export-csv /tmp/app13/esportato.csv "$@" >/dev/null 2>&1 || fallito "$cosa does not open on Debian 13"
  cmp -s "$radice/tmp/app13/esportato.csv" "$atteso" || fallito "$cosa reads differently on Debian 13"
  [ "$(sha256sum <"$radice/tmp/app13/tvp.dmg")" = "$prima" ] || fallito "$cosa changed on Debian 13"
  echo "$cosa: opens on Debian 13, the same athletes, unchanged"
}
cartella "$lavoro/app12" build/app
qui "$lavoro/app12" --import-csv "$campione"
qui "$lavoro/app12" --backup "$lavoro/app12/copia.dmg" >/dev/null
qui "$lavoro/app12" --export-csv "$lavoro/app12/esportato.csv" >/dev/null
[ "$(grep -c '^"' "$lavoro/app12/esportato.csv")" = 2 ] || fallito "the sample did not import here"
confronta "$lavoro/app12/tvp.dmg" "$lavoro/app12/esportato.csv" "An archive made on Debian 12"
confronta "$lavoro/app12/copia.dmg" "$lavoro/app12/esportato.csv" "A backup made on Debian 12"
qui "$lavoro/app12" --protect --new-passphrase-file "$frase" >/dev/null
qui "$lavoro/app12" --backup "$lavoro/app12/copia-protetta.dmg" --passphrase-file "$frase" >/dev/null
confronta "$lavoro/app12/tvp.dmg" "$lavoro/app12/esportato.csv" "An archive with a passphrase made on Debian 12" \
  --passphrase-file /tmp/frase.txt
confronta "$lavoro/app12/copia-protetta.dmg" "$lavoro/app12/esportato.csv" \
  "A backup with a passphrase made on Debian 12" --passphrase-file /tmp/frase.txt

cartella "$radice/tmp/fatto13" "$radice$sorgenti/build/app"
cp "$campione" "$radice/tmp/campione.csv"
la /tmp/fatto13 --import-csv /tmp/campione.csv
la /tmp/fatto13 --backup /tmp/fatto13/copia.dmg >/dev/null
cartella "$radice/tmp/protetto13" "$radice$sorgenti/build/app"
cp "$radice/tmp/fatto13/tvp.dmg" "$radice/tmp/protetto13/"
la /tmp/protetto13 --protect --new-passphrase-file /tmp/frase.txt >/dev/null
la /tmp/protetto13 --backup /tmp/protetto13/copia.dmg --passphrase-file /tmp/frase.txt >/dev/null
for nome in tvp.dmg copia.dmg protetto13/tvp.dmg protetto13/copia.dmg; do
  cartella "$lavoro/da13" build/app
  [ "${nome%/*}" = protetto13 ] && origine=$radice/tmp/$nome || origine=$radice/tmp/fatto13/$nome
  cp "$origine" "$lavoro/da13/tvp.dmg"
  prima=$(sha256sum <"$lavoro/da13/tvp.dmg")
  chiave=()
  if [ "${nome%/*}" = protetto13 ]; then
    ! qui_senza_terminale "$lavoro/da13" --export-csv "$lavoro/da13/esportato.csv" >/dev/null 2>&1 ||
      fallito "$nome of Debian 13 opens here without its passphrase"
    chiave=(--passphrase-file "$frase")
  fi
  qui "$lavoro/da13" --export-csv "$lavoro/da13/esportato.csv" "${chiave[@]}" >/dev/null 2>&1 ||
    fallito "$nome of Debian 13 does not open here"
  cmp -s "$lavoro/da13/esportato.csv" "$lavoro/app12/esportato.csv" || fallito "$nome of Debian 13 reads differently here"
  [ "$(sha256sum <"$lavoro/da13/tvp.dmg")" = "$prima" ] || fallito "$nome of Debian 13 changed here"
  echo "The $nome made on Debian 13: opens on Debian 12, the same athletes, unchanged"
done

passo "Debian 13 check passed $(durata $inizio)"
