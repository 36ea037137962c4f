#!/usr/bin/env bash
# The soak run: 100 jobs from one window to vt350-sim with a printer in a
# random mood each time; prints the endings by kind, memory and descriptors
# after jobs 1, 50 and 100, and the longest time the window did not answer.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target vt350-bench vt350-sim
QT_QPA_PLATFORM=offscreen build/bench/vt350-bench --benchmark_filter=Soak100
