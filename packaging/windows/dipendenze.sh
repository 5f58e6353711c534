#!/usr/bin/env bash
# Builds, once, what the Windows program needs, from Debian's own source
# packages, with the mingw-w64 cross compilers: OpenSSL, SQLCipher, chmlib,
# mdbtools (without GLib), Qt base and Qt Svg. Everything lands in one folder
# outside the build tree, kept between runs:
#   ${TOVARIN_WINDOWS_CACHE:-$HOME/.cache/tovarin-windows}
#     mingw64/        the built libraries, headers, DLLs and Qt (the prefix)
#     sorgenti/       the unpacked source packages
#     costruzione/    the build folders
#     fatto/<nome>    one stamp per dependency built: a second run skips it
#     log-<nome>.txt  each step's output
# Run as root (it installs the compilers and adds a deb-src line). Usage:
#   dipendenze.sh [--solo-pacchetti]
set -euo pipefail

QUI="$(cd "$(dirname "$0")" && pwd)"
RADICE="$(cd "$QUI/../.." && pwd)"
CACHE="${TOVARIN_WINDOWS_CACHE:-$HOME/.cache/tovarin-windows}"
PREFISSO="$CACHE/mingw64"
SORGENTI="$CACHE/sorgenti"
COSTRUZIONE="$CACHE/costruzione"
FATTO="$CACHE/fatto"
HOST=x86_64-w64-mingw32
LAVORI="${TOVARIN_WINDOWS_JOBS:-$(nproc)}"
mkdir -p "$PREFISSO" "$SORGENTI" "$COSTRUZIONE" "$FATTO"

PACCHETTI_WINDOWS=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine64 nsis zip dpkg-dev devscripts
  cmake ninja-build perl tcl make autoconf automake libtool autotools-dev pkg-config gettext
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-svg-dev googletest
  xvfb xauth
)

dice() { printf '== %s %s\n' "$(date -u +%H:%M:%S)" "$*"; }

installa_mancanti() {
  local mancanti=() p
  for p in "$@"; do
    dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || mancanti+=("$p")
  done
  [ ${#mancanti[@]} -eq 0 ] && return 0
  dice "installing: ${mancanti[*]}"
  local come=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root (or install sudo) to install: ${mancanti[*]}" >&2; exit 1; }
    come=(sudo)
  fi
  "${come[@]}" apt-get update -qq
  "${come[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${mancanti[@]}"
}

# The source packages come from the same mirror as the installed ones: a
# deb-src entry of its own beside the system's.
aggiungi_deb_src() {
  local file=/etc/apt/sources.list.d/tovarin-deb-src.sources
  [ -f "$file" ] && return 0
  if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ || grep -qs '^deb-src ' /etc/apt/sources.list; then
    return 0
  fi
  dice "adding $file"
  local uri suite
  uri="$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)"
  uri="${uri:-http://deb.debian.org/debian}"
  . /etc/os-release
  suite="${VERSION_CODENAME:-bookworm}"
  cat > "$file" <<SRC
Types: deb-src
URIs: $uri
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: ${uri%/debian}/debian-security
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -qq
}

# Runs a step once: its output to log-<name>.txt, its stamp when it ends well.
passo() {
  local nome="$1"; shift
  if [ -f "$FATTO/$nome" ]; then
    dice "$nome: already built ($(cat "$FATTO/$nome"))"
    return 0
  fi
  dice "$nome: building (log: $CACHE/log-$nome.txt)"
  local inizio=$SECONDS
  # A bash of its own, so that the step stops at its first failing command
  # whatever context this one is called in.
  if bash -euxo pipefail "$0" --passo "$@" > "$CACHE/log-$nome.txt" 2>&1; then
    echo "$(date -u +%FT%TZ), $((SECONDS - inizio)) s" > "$FATTO/$nome"
    dice "$nome: done in $((SECONDS - inizio)) s"
  else
    dice "$nome: FAILED, see $CACHE/log-$nome.txt:"
    tail -n 25 "$CACHE/log-$nome.txt" >&2
    return 1
  fi
}

# The unpacked source of a package (apt-get source, once). When the newest
# version's files cannot be had from the mirror, the earlier versions it
# lists are tried, newest first.
sorgente() {
  local pacchetto="$1"
  local cartella versione
  cartella="$(find "$SORGENTI" -maxdepth 1 -mindepth 1 -type d -name "$pacchetto-*" | sort | tail -n 1)"
  if [ -z "$cartella" ]; then
    if ! (cd "$SORGENTI" && apt-get source -qq "$pacchetto" >&2); then
      for versione in $(apt-cache showsrc "$pacchetto" | awk '/^Version:/ {print $2}' | sort -rV | tail -n +2); do
        (cd "$SORGENTI" && apt-get source -qq "$pacchetto=$versione" >&2) && break
      done
    fi
    cartella="$(find "$SORGENTI" -maxdepth 1 -mindepth 1 -type d -name "$pacchetto-*" | sort | tail -n 1)"
  fi
  [ -n "$cartella" ] || { echo "No source for $pacchetto could be had from the mirror" >&2; return 1; }
  echo "$cartella"
}

# A clean copy of a source to build in (autotools build in their tree).
copia_pulita() {
  local da="$1" a="$COSTRUZIONE/$2"
  rm -rf "$a"
  cp -a "$da" "$a"
  echo "$a"
}

openssl() {
  local s d
  s="$(sorgente openssl)"  # on a line of its own, so that its failure stops the step
  d="$(copia_pulita "$s" openssl)"
  cd "$d"
  env -u CC -u CXX -u CFLAGS ./Configure mingw64 --cross-compile-prefix=$HOST- shared no-tests \
    --prefix="$PREFISSO" --libdir=lib --openssldir="$PREFISSO/ssl"
  make -j"$LAVORI" build_libs
  make install_dev install_runtime_libs
  ls "$PREFISSO"/bin/libcrypto-3-x64.dll "$PREFISSO"/lib/libcrypto.dll.a
}

sqlcipher() {
  local s d
  s="$(sorgente sqlcipher)"  # on a line of its own, so that its failure stops the step
  d="$(copia_pulita "$s" sqlcipher)"
  cd "$d"
  cp -f /usr/share/misc/config.sub /usr/share/misc/config.guess . 2>/dev/null || true
  # Debian's own options and flags (debian/rules), so that both systems
  # open the same archives the same way.
  # SQLite's configure cannot tell a cross-built program's suffix, which is
  # how it chooses Windows' file calls over Unix's: told here.
  config_TARGET_EXEEXT=.exe config_BUILD_EXEEXT= \
  ./configure --host=$HOST --build="$(gcc -dumpmachine)" --prefix="$PREFISSO" \
    --enable-threadsafe --enable-load-extension --enable-tempstore --disable-tcl --disable-readline \
    --enable-shared --disable-static \
    CC=$HOST-gcc-posix BCC=gcc \
    CFLAGS="-O2 -fno-strict-aliasing -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3 \
      -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1 \
      -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_HAS_CODEC -I$PREFISSO/include" \
    LDFLAGS="-L$PREFISSO/lib" LIBS="-lcrypto"
  # The helper programs it runs while building are the build machine's (no .exe).
  make -j"$LAVORI" BEXE= libsqlcipher.la
  make BEXE= lib_install
  mkdir -p "$PREFISSO/include/sqlcipher"
  cp sqlite3.h "$d/src/sqlite3ext.h" "$PREFISSO/include/sqlcipher/"
  ls "$PREFISSO"/bin/libsqlcipher*.dll
}

# chmlib: its two C files, compiled into a static library (its autotools
# predate mingw-w64). Names beyond ASCII: chm_open takes UTF-8 and opens
# with the wide call.
chmlib() {
  local s d
  s="$(sorgente chmlib)"  # on a line of its own, so that its failure stops the step
  d="$(copia_pulita "$s" chmlib)"
  cd "$d"
  "$QUI/chmlib-utf8.sh" src/chm_lib.c
  $HOST-gcc-posix -O2 -DWIN32 -c src/chm_lib.c -o chm_lib.o
  $HOST-gcc-posix -O2 -DWIN32 -c src/lzx.c -o lzx.o
  rm -f libchm.a
  $HOST-ar rcs libchm.a chm_lib.o lzx.o
  mkdir -p "$PREFISSO/lib" "$PREFISSO/include"
  cp libchm.a "$PREFISSO/lib/"
  cp src/chm_lib.h "$PREFISSO/include/"
}

# mdbtools 1.0 without GLib (its own small replacement), static: the
# Access import's reader.
mdbtools() {
  local s d
  s="$(sorgente mdbtools)"  # on a line of its own, so that its failure stops the step
  d="$(copia_pulita "$s" mdbtools)"
  cd "$d"
  [ -x configure ] || autoreconf -fi
  ./configure --host=$HOST --prefix="$PREFISSO" --disable-glib --disable-man --enable-static --disable-shared \
    --without-unixodbc --without-iodbc CC=$HOST-gcc-posix
  make -j"$LAVORI" -C src/libmdb
  make -C src/libmdb install
  make -C include install || cp include/mdbtools.h "$PREFISSO/include/"
  mkdir -p "$PREFISSO/lib/pkgconfig"
  [ -f libmdb.pc ] && cp libmdb.pc "$PREFISSO/lib/pkgconfig/" || true
  ls "$PREFISSO"/lib/libmdb.a
}

# GoogleTest for the Windows tests, from Debian's own copy of its source
# (googletest), built with the same compilers.
googletest() {
  local b="$COSTRUZIONE/googletest"
  cp -f "$RADICE/cmake/mingw64.cmake" "$CACHE/mingw64.cmake"
  rm -rf "$b"
  cmake -S /usr/src/googletest -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$CACHE/mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFISSO" -DBUILD_GMOCK=ON -DBUILD_SHARED_LIBS=OFF
  nice cmake --build "$b" -j "$LAVORI"
  cmake --install "$b"
  ls "$PREFISSO"/lib/libgtest.a
}

qtbase() {
  local d b
  d="$(sorgente qt6-base)"
  b="$COSTRUZIONE/qtbase"
  cp -f "$RADICE/cmake/mingw64.cmake" "$CACHE/mingw64.cmake"
  rm -rf "$b"
  cmake -S "$d" -B "$b" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$CACHE/mingw64.cmake" -DTOVARIN_WINDOWS_PREFIX="$PREFISSO" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFISSO" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_sql_sqlite=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_openssl=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_sql_odbc=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_icu=OFF -DFEATURE_glib=OFF
  nice cmake --build "$b" -j "$LAVORI"
  cmake --install "$b"
  ls "$PREFISSO"/bin/Qt6Widgets.dll "$PREFISSO"/plugins/platforms/qwindows.dll
}

qtsvg() {
  local d b
  d="$(sorgente qt6-svg)"
  b="$COSTRUZIONE/qtsvg"
  rm -rf "$b"
  cmake -S "$d" -B "$b" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PREFISSO/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFISSO" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  nice cmake --build "$b" -j "$LAVORI"
  cmake --install "$b"
  ls "$PREFISSO"/bin/Qt6Svg.dll "$PREFISSO"/plugins/imageformats/qsvg.dll
}

if [ "${1:-}" = "--passo" ]; then
  "$2"
  exit 0
fi
# One build of the cache at a time (a second ./tovarin windows waits).
exec 9>"$CACHE/blocco"
if ! flock -n 9; then
  dice "another build of the dependencies is using $CACHE: waiting for it"
  flock 9
fi
installa_mancanti "${PACCHETTI_WINDOWS[@]}"
aggiungi_deb_src
[ "${1:-}" = "--solo-pacchetti" ] && exit 0
passo openssl openssl
passo sqlcipher sqlcipher
passo chmlib chmlib
# The Access import is the only user of mdbtools: without it the program
# still builds, saying so when the coach asks for the import.
passo mdbtools mdbtools || dice "mdbtools: not built; the Access import stays off on Windows"
passo googletest googletest
passo qtbase qtbase
passo qtsvg qtsvg
dice "dependencies ready in $PREFISSO"
