#!/usr/bin/env bash
# Builds, once, the Windows (x86-64, MinGW-w64) libraries the program needs into
# $VT350_WIN_SDK (default /opt/vt350-win-sdk): Qt 6.4.2 Core/Gui/Widgets/Test with the
# windows and offscreen platform plugins, ICU 72, GoogleTest, libzip, expat, FreeXL and
# libxlsxwriter, all from Debian's source packages. zlib is Debian's MinGW package.
# Each step leaves a stamp; a second run with every stamp present returns at once.
# The first run takes about an hour of two cores (Qt is most of it).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
SDK="${VT350_WIN_SDK:-/opt/vt350-win-sdk}"
JOBS="${JOBS:-$(nproc)}"
TRIPLE=x86_64-w64-mingw32
stamps="$SDK/.stamps"
src="$SDK/src"
work="$SDK/build"

done_already() { [ -e "$stamps/$1" ]; }
mark_done() { mkdir -p "$stamps"; touch "$stamps/$1"; }
step() {
  local name=$1; shift
  done_already "$name" && return 0
  local start=$SECONDS
  echo "== $name"
  "$@"
  mark_done "$name"
  echo "== $name: $((SECONDS - start)) s"
}

all="packages sources zlib icu-host icu qt googletest libzip expat iconv freexl xlsxwriter"
missing=0
for s in $all; do done_already "$s" || missing=1; done
if [ $missing = 0 ]; then echo "Windows SDK ready in $SDK"; exit 0; fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
mkdir -p "$SDK" "$src" "$work"

packages() {
  export DEBIAN_FRONTEND=noninteractive
  # Debian's source packages: a deb-src entry beside each deb entry.
  local list=/etc/apt/sources.list.d/debian-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list; then
    $SUDO awk 'BEGIN{RS="";ORS="\n\n"} /Types: deb/ && /debian/ {sub(/Types: deb/,"Types: deb-src"); print}' \
      /etc/apt/sources.list.d/debian.sources | $SUDO tee "$list" >/dev/null
  fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 \
    libz-mingw-w64-dev wine wine64 nsis dpkg-dev cmake ninja-build pkg-config python3 \
    qt6-base-dev qt6-base-dev-tools autoconf automake libtool xvfb xauth libwine-dev >/dev/null
}

sources() {
  cd "$src"
  apt-get source -qq qt6-base icu googletest libzip expat freexl libxlsxwriter >/dev/null
  ls -d "$src"/*/
}

# A package's source folder, fetched when a step added since the sources step needs it.
srcdir() {
  local dir
  dir=$(ls -d "$src"/$1-*/ 2>/dev/null | head -1)
  if [ -z "$dir" ]; then
    # An old package list names versions the archive no longer has.
    # An old package list, or a mirror without the newest security upload:
    # refresh the list, then try every version it names.
    (cd "$src" && {
      apt-get source -qq "$1" >/dev/null 2>&1 || { $SUDO apt-get update -qq && apt-get source -qq "$1" >/dev/null 2>&1; } ||
        for v in $(apt-cache showsrc "$1" | awk '/^Version:/{print $2}' | sort -r -V); do
          apt-get source -qq "$1=$v" >/dev/null 2>&1 && ls -d "$1"-*/ >/dev/null 2>&1 && break
        done
    }) >&2
    dir=$(ls -d "$src"/$1-*/ 2>/dev/null | head -1)
  fi
  [ -n "$dir" ] || { echo "no source of $1" >&2; return 1; }
  echo "$dir"
}

zlib() { test -e /usr/$TRIPLE/lib/libz.a; }

icu-host() {
  # ICU's cross build runs its data tools from a build for this machine.
  local b="$work/icu-host"
  rm -rf "$b"; mkdir -p "$b"; cd "$b"
  "$(srcdir icu)source/configure" --disable-tests --disable-samples --disable-extras >/dev/null
  make -j"$JOBS" >/dev/null
}

icu() {
  local b="$work/icu-win"
  rm -rf "$b"; mkdir -p "$b"; cd "$b"
  CC=$TRIPLE-gcc-posix CXX=$TRIPLE-g++-posix \
    "$(srcdir icu)source/configure" --host=$TRIPLE --with-cross-build="$work/icu-host" \
      --prefix="$SDK" --disable-tests --disable-samples --disable-extras --disable-tools \
      --enable-shared --disable-static >/dev/null
  make -j"$JOBS" >/dev/null
  make install >/dev/null
}

cmake_win() {
  local s=$1 b=$2; shift 2
  cmake -G Ninja -S "$s" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DVT350_WIN_SDK="$SDK" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$SDK" "$@" >/dev/null
  cmake --build "$b" -j"$JOBS" >/dev/null
  cmake --install "$b" >/dev/null
}

qt() {
  # Debian's qtbase leaves out the tablet interface's headers (their licence
  # forbids changes); Wine's LGPL ones stand in where Qt's build looks for
  # them, with the two Wine macros they use (qt-wintab/wintab.h).
  local wintab="$(srcdir qt6-base)src/3rdparty/wintab"
  mkdir -p "$wintab"
  cp /usr/include/wine/wine/windows/wintab.h "$wintab/wine-wintab.h"
  cp /usr/include/wine/wine/windows/pktdef.h "$here/qt-wintab/wintab.h" "$wintab/"
  # Qt's bundled copies of zlib, PCRE2, libpng, HarfBuzz, FreeType and double-conversion;
  # the host's moc, rcc and uic (the same 6.4.2) serve as the build tools.
  cmake_win "$(srcdir qt6-base)" "$work/qtbase" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dbus=OFF -DFEATURE_sql=OFF \
    -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_zstd=OFF
}

googletest() {
  cmake_win "$(srcdir googletest)" "$work/googletest" -DBUILD_SHARED_LIBS=OFF -DINSTALL_GTEST=ON
}

libzip() {
  cmake_win "$(srcdir libzip)" "$work/libzip" -DBUILD_SHARED_LIBS=ON \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
}

expat() {
  # Large sheets are parsed with libexpat. Debian's security patches test
  # "#if XML_DTD == 1", which the CMake build's bare "#define XML_DTD" breaks
  # (Debian itself builds with autotools, which defines it as 1).
  local dir
  dir="$(srcdir expat)expat"
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$dir/expat_config.h.cmake"
  cmake_win "$dir" "$work/expat" -DEXPAT_SHARED_LIBS=ON \
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF
}

iconv() {
  # MinGW has no iconv; FreeXL's code-page conversions go through ICU instead.
  cmake_win "$here/iconv-icu" "$work/iconv-icu"
}

freexl() {
  local b="$work/freexl"
  rm -rf "$b"; cp -r "$(srcdir freexl)" "$b"; cd "$b"
  CC=$TRIPLE-gcc-posix CPPFLAGS="-I$SDK/include" LDFLAGS="-L$SDK/lib" LIBS="-liconv -licuuc" \
    ./configure --host=$TRIPLE --prefix="$SDK" --disable-shared --enable-static >/dev/null
  make -j"$JOBS" >/dev/null
  make install >/dev/null
  # A static library: who links it needs its converters too.
  sed -i 's/^Libs: \(.*\)$/Libs: \1 -liconv -licuuc/' "$SDK/lib/pkgconfig/freexl.pc"
}

xlsxwriter() {
  cmake_win "$(srcdir libxlsxwriter)" "$work/xlsxwriter" -DBUILD_SHARED_LIBS=ON \
    -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DUSE_SYSTEM_MINIZIP=OFF
}

total=$SECONDS
for s in $all; do step "$s" "$s"; done
echo "Windows SDK ready in $SDK ($((SECONDS - total)) s)"
