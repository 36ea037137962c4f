#!/usr/bin/env bash
# Builds the programs and the tests for Windows (x86-64) into build-win/ with
# the MinGW-w64 cross compiler, then the installer
# build-win/vt350-<version>-win64.exe. Needs the libraries of toolchain.sh
# (it runs it; with its cache present that returns at once).
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$repo"
SDK="${VT350_WIN_SDK:-/opt/vt350-win-sdk}"
export VT350_WIN_SDK="$SDK"
scripts/windows/toolchain.sh
# Only the Windows libraries' pkg-config files, never the build machine's.
export PKG_CONFIG_LIBDIR="$SDK/lib/pkgconfig"
export PKG_CONFIG_PATH=
cmake -S . -B build-win -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/scripts/windows/mingw-w64.cmake" -DVT350_WIN_SDK="$SDK" \
  -DCMAKE_BUILD_TYPE=Release -DVT350_BENCH=OFF -DICU_ROOT="$SDK" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$repo/scripts/windows/wine-run" >/dev/null
cmake --build build-win -- "$@"
(cd build-win && cpack -G NSIS >/dev/null)
ls -l build-win/vt350-*-win64.exe
