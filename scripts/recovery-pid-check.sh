#!/usr/bin/env bash
# Recovery across runs that get the same process id: three starts of the
# program, each process 1 of a new PID namespace (as after a container
# restart). The first imports a file and is killed after its autosave; the
# second is offered the pages and is killed too; the third is offered them
# again and ends by SIGTERM while it asks. The pages must survive all three.
# Needs root (unshare) and a built tree: scripts/recovery-pid-check.sh [BUILD_DIR]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
work="$(mktemp -d)"
trap 'kill $sim 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
mkdir state cfg
printf 'W-101;X1:3;2\nW-102;PE;1\n' > marks.csv
"$build/tools/vt350-sim" --link "$work/printer" > sim.log 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e printer ] && break; sleep 0.05; done

start() {
  env QT_QPA_PLATFORM=offscreen VT350_STATE_DIR="$work/state" VT350_CONFIG_DIR="$work/cfg" \
    VT350_DEVICE="$work/printer" VT350_AUTOSAVE_MS=200 \
    unshare --fork --pid --mount-proc --kill-child \
    sh -c 'echo "  process id in its namespace: $$"; exec "$0" "$@"' "$build/src/vt350" "$@" 2>/dev/null &
  last=$!
}
# The program holds a leftover's lock while it offers it.
claimed() {
  for _ in $(seq 200); do
    flock -n state/*.lock true 2>/dev/null || return 0
    sleep 0.05
  done
  return 1
}
inner() { pgrep -f "^$build/src/vt350" | tail -1; }

echo "first start, imports marks.csv"
start marks.csv
for _ in $(seq 200); do ls state/*.vtd >/dev/null 2>&1 && break; sleep 0.05; done
ls state/*.vtd >/dev/null 2>&1 || { echo "FAIL: nothing kept for recovery"; exit 1; }
kill -9 "$(inner)"; wait "$last" || true
echo "second start"
start
claimed || { echo "FAIL: the pages were not offered to the second start"; exit 1; }
kill -9 "$(inner)"; wait "$last" || true
ls state/*.vtd >/dev/null 2>&1 || { echo "FAIL: the second start lost the pages"; exit 1; }
echo "third start, SIGTERM while it asks"
start
claimed || { echo "FAIL: the pages were not offered to the third start"; exit 1; }
kill -TERM "$(inner)"; wait "$last" || true
ls state/*.vtd >/dev/null 2>&1 || { echo "FAIL: SIGTERM during the question deleted the pages"; exit 1; }
echo "kept: $(ls state)"
echo "passed"
