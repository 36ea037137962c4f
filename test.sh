#!/usr/bin/env bash
# Builds everything and runs every test; fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 "$@"
# The fuzz targets replay their seed corpus and fuzz a few seconds each.
if [ -z "${VT350_SKIP_FUZZ:-}" ]; then
  FUZZ_SECONDS="${FUZZ_SECONDS:-5}" fuzz/run.sh
fi
