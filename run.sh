#!/usr/bin/env bash
# Builds the program in Release and starts it. Extra arguments go to vt350.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVT350_TESTS=OFF -DVT350_BENCH=OFF >/dev/null
cmake --build build-release --target vt350 vt350-cli vt350-sim
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found (DISPLAY is not set). To run without a screen: xvfb-run -a build-release/src/vt350"
  exit 1
fi
exec build-release/src/vt350 "$@"
