#!/usr/bin/env bash
# Builds, once, the Windows (x86-64, MinGW-w64) libraries the program needs into
# $VT350_WIN_SDK (default /opt/vt350-win-sdk): Qt 6.4.2 Core/Gui/Widgets/Test with the
# windows and offscreen platform plugins, ICU 72, GoogleTest, libzip, libxml2, FreeXL and
# libxlsxwriter, all from Debian's source packages. zlib is Debian's MinGW package.
# Each step leaves a stamp; a second run with every stamp present returns at once.
# Each step's output goes to $VT350_WIN_SDK/logs/STEP.log; a failed step shows its end.
# The first run takes about an hour of two cores (Qt is most of it).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
SDK="${VT350_WIN_SDK:-/opt/vt350-win-sdk}"
JOBS="${JOBS:-$(nproc)}"
TRIPLE=x86_64-w64-mingw32
stamps="$SDK/.stamps"
logs="$SDK/logs"
src="$SDK/src"
work="$SDK/build"

done_already() { [ -e "$stamps/$1" ]; }
mark_done() { mkdir -p "$stamps"; touch "$stamps/$1"; }
step() {
  local name=$1; shift
  done_already "$name" && return 0
  local start=$SECONDS log="$logs/$name.log" rc=0
  echo "== $name (output in $log)"
  mkdir -p "$logs"
  # In the background, so that set -e still ends the step at its first
  # failing command (it is off inside a function called as a condition).
  "$@" >"$log" 2>&1 &
  wait $! || rc=$?
  if [ $rc -ne 0 ]; then
    echo "== $name failed (exit $rc) after $((SECONDS - start)) s; the end of $log:" >&2
    tail -n 60 "$log" >&2
    exit $rc
  fi
  mark_done "$name"
  echo "== $name: $((SECONDS - start)) s"
}

all="packages sources zlib icu-host icu qt googletest libzip libxml2 iconv freexl xlsxwriter"
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
      /etc/apt/sources.list.d/debian.sources | $SUDO tee "$list"
  fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 \
    libz-mingw-w64-dev wine wine64 nsis dpkg-dev cmake ninja-build pkg-config python3 \
    qt6-base-dev qt6-base-dev-tools autoconf automake libtool xvfb xauth libwine-dev
}

sources() {
  cd "$src"
  apt-get source -qq qt6-base icu googletest libzip libxml2 freexl libxlsxwriter
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
  "$(srcdir icu)source/configure" --disable-tests --disable-samples --disable-extras
  make -j"$JOBS"
}

icu() {
  local b="$work/icu-win"
  rm -rf "$b"; mkdir -p "$b"; cd "$b"
  CC=$TRIPLE-gcc-posix CXX=$TRIPLE-g++-posix \
    "$(srcdir icu)source/configure" --host=$TRIPLE --with-cross-build="$work/icu-host" \
      --prefix="$SDK" --disable-tests --disable-samples --disable-extras --disable-tools \
      --enable-shared --disable-static
  make -j"$JOBS"
  make install
}

cmake_win() {
  local s=$1 b=$2; shift 2
  cmake -G Ninja -S "$s" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DVT350_WIN_SDK="$SDK" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$SDK" "$@"
  cmake --build "$b" -j"$JOBS"
  cmake --install "$b"
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

libxml2() {
  # Sheets and shared strings are parsed with libxml2's push parser. Only its
  # parser is needed: no converters beyond UTF-8/16 and Latin-1, no network,
  # no compression.
  cmake_win "$(srcdir libxml2)" "$work/libxml2" -DBUILD_SHARED_LIBS=ON \
    -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF \
    -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF \
    -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_MODULES=OFF -DLIBXML2_WITH_THREADS=ON
}

iconv() {
  # MinGW has no iconv; FreeXL's code-page conversions go through ICU instead.
  cmake_win "$here/iconv-icu" "$work/iconv-icu"
}

freexl() {
  local b="$work/freexl"
  rm -rf "$b"; cp -r "$(srcdir freexl)" "$b"; cd "$b"
  CC=$TRIPLE-gcc-posix CPPFLAGS="-I$SDK/include" LDFLAGS="-L$SDK/lib" LIBS="-liconv -licuuc" \
    ./configure --host=$TRIPLE --prefix="$SDK" --disable-shared --enable-static
  make -j"$JOBS"
  make install
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
