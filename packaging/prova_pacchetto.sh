#!/usr/bin/env bash
# The Debian package on a fresh minimal Debian 12, used as a coach uses it:
#   packaging/prova_pacchetto.sh tovarin_1.0.5_amd64.deb [WORK_FOLDER]
# Builds the system with debootstrap, installs the package with apt-get, checks
# the installed files, then, as an ordinary user under Xvfb, starts the program
# with the menu entry's command, types an athlete on the card, stops the program
# as a session end does, starts it again and finds the athlete, starts it a
# second time while it runs (one window stays), and removes the package (the
# archive stays). Needs root, debootstrap and a Debian mirror.
set -euo pipefail

pacchetto=$(realpath "${1:?usage: prova_pacchetto.sh PACKAGE.deb [WORK_FOLDER]}")
lavoro=$(realpath -m "${2:-build/prova-pacchetto}")
specchio=${TOVARIN_MIRROR:-http://deb.debian.org/debian}
radice=$lavoro/debian12
nome=$(basename "$pacchetto")
utente=allenatore

[ "$(id -u)" -eq 0 ] || { echo "prova_pacchetto.sh: run as root (debootstrap, chroot)" >&2; exit 1; }
passo() { printf '\n== %s\n' "$*"; }
fallito() { echo "FAILED: $*" >&2; exit 1; }

smonta() {
  for m in "$radice/dev/pts" "$radice/dev" "$radice/proc"; do
    mountpoint -q "$m" 2>/dev/null && { umount "$m" 2>/dev/null || umount -l "$m"; }
  done
  return 0
}
trap smonta EXIT

passo "A fresh minimal Debian 12 in $radice"
smonta
rm -rf "$radice"
mkdir -p "$lavoro/cache"
debootstrap --variant=minbase --cache-dir="$lavoro/cache" bookworm "$radice" "$specchio" >"$lavoro/debootstrap.log" 2>&1 ||
  { tail -20 "$lavoro/debootstrap.log"; fallito "debootstrap"; }
mount --bind /proc "$radice/proc"
mount --bind /dev "$radice/dev"
mount --bind /dev/pts "$radice/dev/pts"
cp /etc/resolv.conf "$radice/etc/resolv.conf"
dentro() { chroot "$radice" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

passo "apt-get install ./$nome"
cp "$pacchetto" "$radice/root/$nome"
dentro apt-get update -qq
dentro sh -c "cd /root && apt-get install -y -q ./$nome" | tail -5
dentro dpkg-query -W tovarin

passo "Installed files"
dentro ldd /usr/bin/tovarin >"$lavoro/ldd.txt"
cat "$lavoro/ldd.txt"
grep -q 'not found' "$lavoro/ldd.txt" && fallito "a shared library is missing"
grep -Eq 'libsqlcipher\.so\.[0-9]+ => /' "$lavoro/ldd.txt" || fallito "libsqlcipher is not a shared library of the program"
grep -Eq 'libcrypto\.so\.[0-9]+ => /' "$lavoro/ldd.txt" || fallito "libcrypto is not a shared library of the program"
for f in /usr/share/tovarin/italian.lng /usr/share/tovarin/english.lng /usr/share/tovarin/Guida.chm \
         /usr/share/applications/org.example.tovarin.desktop /usr/share/metainfo/org.example.tovarin.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/org.example.tovarin.svg /usr/share/man/man1/tovarin.1.gz \
         /usr/share/doc/tovarin/copyright; do
  [ -f "$radice$f" ] || fallito "$f is not installed"
done
for lato in 16 22 24 32 48 64 128 256; do
  [ -f "$radice/usr/share/icons/hicolor/${lato}x$lato/apps/org.example.tovarin.png" ] || fallito "no $lato px icon"
done

passo "Tools of this check (after the package, so they hide none of its dependencies)"
dentro apt-get install -y -q --no-install-recommends xvfb xauth xdotool xclip desktop-file-utils appstream sqlcipher \
  imagemagick | tail -1
dentro desktop-file-validate /usr/share/applications/org.example.tovarin.desktop
dentro appstreamcli validate --no-net /usr/share/metainfo/org.example.tovarin.metainfo.xml

passo "The program, as the ordinary user $utente, under Xvfb"
dentro useradd -m -s /bin/bash "$utente"
cp "$(dirname "$0")/prova_utente.sh" "$radice/tmp/prova_utente.sh"
chmod 755 "$radice/tmp/prova_utente.sh"
dentro runuser -u "$utente" -- env HOME="/home/$utente" USER="$utente" bash /tmp/prova_utente.sh
cp "$radice"/tmp/tovarin-*.png "$lavoro/" 2>/dev/null || true

archivio=/home/$utente/.local/share/tovarin/tvp.dmg
passo "apt-get remove tovarin keeps $archivio"
dentro apt-get remove -y -q tovarin | tail -1
[ ! -e "$radice/usr/bin/tovarin" ] || fallito "the program is still installed"
[ -f "$radice$archivio" ] || fallito "the archive went with the package"
dentro sqlcipher "$archivio" "PRAGMA key = 'quintobarle'; PRAGMA cipher_compatibility = 3; PRAGMA cipher_page_size = 1024; PRAGMA kdf_iter = 64000; SELECT nome FROM atleta;" | grep -qx 'Rossi Mario' ||
  fallito "the archive no longer holds the athlete"
dentro dpkg --purge tovarin | tail -1
[ -f "$radice$archivio" ] || fallito "the archive went with the purge"

passo "Package check passed"
