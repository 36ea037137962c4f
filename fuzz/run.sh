#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for a few
# seconds on its seed corpus. FUZZ_SECONDS sets the time per target.
# New inputs go to build-fuzz/corpus/<target>; crashes to build-fuzz/artifacts.
# FUZZ_TARGETS picks some of the targets (default: all of them).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-10}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  -DVT350_FUZZ=ON -DVT350_TESTS=OFF -DVT350_BENCH=OFF >/dev/null
targets="${FUZZ_TARGETS:-document csv xlsx ods xls text numformat replies framecheck}"
# The xls target reads .xls files through the separate reader program.
cmake --build "$build" -j2 --target vt350-xls $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)
mkdir -p "$build/artifacts"
status=0
for target in $targets; do
  mkdir -p "$build/corpus/$target"
  echo "== fuzz_$target: ${seconds}s"
  # A printer's replies are short; a long input only makes the job slower.
  max_len=65536
  [ "$target" = replies ] && max_len=4096
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" \
      -artifact_prefix="$build/artifacts/${target}-" \
      "$build/corpus/$target" "fuzz/corpus/$target" 2>"$build/fuzz_$target.log"; then
    echo "fuzz_$target FAILED, see $build/fuzz_$target.log and $build/artifacts" >&2
    tail -40 "$build/fuzz_$target.log" >&2
    status=1
  else
    grep -E '^(#[0-9]+\s+DONE|Done)' "$build/fuzz_$target.log" | tail -1 || true
  fi
done
exit $status
