#!/usr/bin/env bash
# The Windows check, apart from CI: builds the Windows programs and tests
# (build.sh), runs the whole Windows test suite under Wine, prints through a
# Windows COM port to the virtual printer, compares the Windows vt350-cli's
# documents, listings and frames byte for byte with the Linux build's, and
# installs and uninstalls the installer. Prints how long each step took.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$repo"
SDK="${VT350_WIN_SDK:-/opt/vt350-win-sdk}"
export VT350_WIN_SDK="$SDK"
JOBS_TO_COMPARE="${JOBS_TO_COMPARE:-300}"
run="$repo/scripts/windows/wine-run"
export WINEPREFIX="$repo/build-win/wine"
work="$(mktemp -d /tmp/vt350-win.XXXXXX)"
declare -a times
declare -a pids
cleanup() {
  for p in "${pids[@]:-}"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
timed() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  times+=("$(printf '%-28s %5d s' "$name" $((SECONDS - start)))")
  # Also as each step ends: a later step that fails still leaves the times before it.
  echo "${times[-1]}"
}
fail() { echo "FAILED: $*" >&2; exit 1; }
# The Windows name of a file here: Wine's drive Z: is the root.
winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

linux_build() {
  scripts/install-deps.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target vt350-sim vt350-cli vt350-xls
}

start_wine() {
  "$run" cmd /c exit 0 >/dev/null 2>&1 || true
  wineserver -p 2>/dev/null || true # stays up between the programs of this check
}

# A test program that Wine did not start (no output at all) runs once more;
# a test that failed fails the step (scripts/windows/suite.py).
suite() {
  QT_QPA_PLATFORM=offscreen python3 scripts/windows/suite.py build-win "$work" -j2 | tee "$work/ctest.log"
  grep -E 'tests passed|tests failed|^suite: ' "$work/ctest.log"
}

# A COM port of Wine onto a Unix device: HKLM\Software\Wine\Ports, then a new wineserver.
map_port() {
  local com=$1 device=$2
  "$run" reg add 'HKLM\Software\Wine\Ports' /v "$com" /d "$device" /f >/dev/null 2>&1
  wineserver -k || true
  wineserver -w || true
  start_wine
}

# Starts the virtual printer on a pseudo-terminal linked at $1; its log in $2.
start_sim() {
  local link=$1 log=$2
  shift 2
  rm -f "$link"
  build/tools/vt350-sim --link "$link" --log "$log" "$@" >"$work/sim.out" 2>"$work/sim.err" &
  pids+=($!)
  # The first line of its output is the terminal: it is ready then.
  while [ ! -s "$work/sim.out" ]; do kill -0 "${pids[-1]}" || fail "vt350-sim did not start"; sleep 0.1; done
}

stop_sim() { kill "${pids[-1]}" 2>/dev/null || true; wait "${pids[-1]}" 2>/dev/null || true; }

frames_logged() {
  python3 - "$1" <<'PY'
import json, sys
for line in open(sys.argv[1]):
    entry = json.loads(line)
    if "hex" in entry and "pages" in entry:
        sys.stdout.write(entry["hex"] + "\n")
PY
}

print_job() {
  local name=$1 job=$2
  start_sim "$work/com7" "$work/$name.log" --segment-seconds 0.2
  map_port COM7 "$work/com7"
  VT350_CONFIG_DIR="$work/config-$name" "$run" build-win/tools/vt350-cli.exe print "$(winpath "$job")" --port 7 \
    </dev/null 2>"$work/$name.err" || { cat "$work/$name.err"; fail "print of $name"; }
  stop_sim
  build/tools/vt350-cli frame "$job" -o "$work/$name.expected"
  frames_logged "$work/$name.log" >"$work/$name.got.hex"
  xxd -p "$work/$name.expected" | tr -d '\n' >"$work/$name.expected.hex"
  tr -d '\n' <"$work/$name.got.hex" >"$work/$name.got.flat"
  cmp -s "$work/$name.expected.hex" "$work/$name.got.flat" || fail "the frames of $name differ from the Linux build's"
  echo "$name: $(wc -l <"$work/$name.got.hex") frame(s), as the Linux build makes them"
}

# The operator's "Continue" in vt350-cli is Enter on its input, which a
# thread of its own reads on Windows: Enter is typed each time the program
# asks for it, and the program ends with its input still open.
continue_job() {
  local job=$1 err="$work/continue.err" fifo="$work/enter"
  start_sim "$work/com7" "$work/continue.log" --firmware FV1.000.01 --segment-seconds 0.2
  map_port COM7 "$work/com7"
  rm -f "$fifo"
  mkfifo "$fifo"
  VT350_CONFIG_DIR="$work/config-continue" "$run" build-win/tools/vt350-cli.exe print "$(winpath "$job")" --port 7 \
    <"$fifo" 2>"$err" &
  local cli=$! asked=0 n guard=0
  pids+=("$cli")
  exec 7>"$fifo"
  # The guard only ends a program that hangs.
  while kill -0 "$cli" 2>/dev/null; do
    guard=$((guard + 1))
    [ "$guard" -lt 3000 ] || { cat "$err"; fail "the job continued by Enter did not end"; }
    n=$(grep -c 'Press Enter' "$err" || true)
    if [ "$n" -gt "$asked" ]; then
      printf '\r\n' >&7
      asked=$n
    fi
    sleep 0.1
  done
  local status=0
  wait "$cli" || status=$?
  exec 7>&-
  stop_sim
  [ "$status" -eq 0 ] || { cat "$err"; fail "the job continued by Enter ended with $status"; }
  build/tools/vt350-cli frame "$job" --firmware FV1.000.01 -o "$work/continue.expected"
  frames_logged "$work/continue.log" | tr -d '\n' >"$work/continue.got.flat"
  cmp -s <(xxd -p "$work/continue.expected" | tr -d '\n') "$work/continue.got.flat" \
    || fail "the frames continued by Enter differ from the Linux build's"
  echo "continued by Enter: $asked times asked, every frame as the Linux build makes them"
}

end_to_end() {
  python3 -c 'print("\r\n".join("W%03d;X%d" % (i, i) for i in range(1, 11)))' >"$work/one.csv"
  # Three frames: 150 long pages, a frame of at most 8192 bytes for every 55 or so.
  python3 -c 'print("\r\n".join(("L%03d-" % i) + "ABCDEFGHIJ" * 9 + ";2nd" for i in range(1, 151)))' >"$work/three.csv"
  print_job one "$work/one.csv"
  print_job three "$work/three.csv"
  [ "$(wc -l <"$work/three.got.hex")" -eq 3 ] || fail "the long job did not go out in three segments"
  [ "$(wc -l <"$work/one.got.hex")" -eq 1 ] || fail "the short job did not go out in one segment"
  continue_job "$work/three.csv"

  # The window's port search at start finds the printer on COM7 and keeps it.
  start_sim "$work/com7" "$work/search.log"
  map_port COM7 "$work/com7"
  mkdir -p "$work/config-window"
  VT350_CONFIG_DIR="$work/config-window" QT_QPA_PLATFORM=offscreen "$run" build-win/src/vt350.exe &
  local window=$!
  pids+=("$window")
  local ini="$work/config-window/ConSet.InI"
  for _ in $(seq 600); do grep -qs 'ComPort=7' "$ini" && break; sleep 0.1; done
  kill "$window" 2>/dev/null || true
  stop_sim
  grep -qs 'ComPort=7' "$ini" || fail "the window's port search did not find the printer on COM7"
  echo "vt350.exe found the printer on COM7"
}

compare() {
  local inputs="$work/inputs"
  mkdir -p "$inputs" "$work/lin" "$work/win"
  python3 scripts/windows/make-jobs.py "$inputs" "$JOBS_TO_COMPARE"
  cp tests/files/fixtures/wirelist.* "$inputs"/
  # Documents made from the generated jobs are inputs too (the open path).
  for f in "$inputs"/job0[0-4]*.csv; do
    build/tools/vt350-cli convert "$f" "${f%.csv}-doc.vtd" 2>/dev/null || true
  done
  # One batch file runs the Windows commands in a single Wine session.
  local bat="$work/compare.bat"
  : >"$work/lin.sh"
  printf '@echo off\r\n' >"$bat"
  for f in "$inputs"/*; do
    local b
    b=$(basename "$f")
    for side in lin win; do :; done
    printf '%s\n' \
      "build/tools/vt350-cli convert '$f' '$work/lin/$b.vtd' >/dev/null 2>'$work/lin/$b.convert.err'; echo \$? >'$work/lin/$b.convert.rc'" \
      "build/tools/vt350-cli show '$f' --json >'$work/lin/$b.json' 2>/dev/null; echo \$? >'$work/lin/$b.show.rc'" \
      "build/tools/vt350-cli frame '$f' -o '$work/lin/$b.frames' 2>/dev/null; echo \$? >'$work/lin/$b.frame.rc'" >>"$work/lin.sh"
    local wf wo
    wf=$(winpath "$f")
    wo=$(winpath "$work/win")
    printf '%s\r\n' \
      "\"$(winpath build-win/tools/vt350-cli.exe)\" convert \"$wf\" \"$wo\\$b.vtd\" >NUL 2>\"$wo\\$b.convert.err\"" \
      "echo %ERRORLEVEL% >\"$wo\\$b.convert.rc\"" \
      "\"$(winpath build-win/tools/vt350-cli.exe)\" show \"$wf\" --json >\"$wo\\$b.json\" 2>NUL" \
      "echo %ERRORLEVEL% >\"$wo\\$b.show.rc\"" \
      "\"$(winpath build-win/tools/vt350-cli.exe)\" frame \"$wf\" -o \"$wo\\$b.frames\" 2>NUL" \
      "echo %ERRORLEVEL% >\"$wo\\$b.frame.rc\"" >>"$bat"
  done
  bash "$work/lin.sh"
  "$run" cmd /c "$(winpath "$bat")" >/dev/null 2>&1 || true
  local n=0 differ=0
  for f in "$work"/lin/*; do
    local b
    b=$(basename "$f")
    case "$b" in
      *.rc) cmp -s <(tr -d ' \r\n' <"$f") <(tr -d ' \r\n' <"$work/win/$b" 2>/dev/null) ;;
      *.err) continue ;;
      *) cmp -s "$f" "$work/win/$b" ;;
    esac || { echo "differs: $b" >&2; differ=$((differ + 1)); }
    n=$((n + 1))
  done
  echo "$n outputs of $(ls "$inputs" | wc -l) inputs compared; $differ differ"
  [ "$differ" -eq 0 ] || fail "the Windows vt350-cli differs from the Linux build"
}

installer() {
  local setup
  setup=$(ls build-win/vt350-*-win64.exe)
  echo "$setup: $(stat -c %s "$setup") bytes"
  "$run" "$(winpath "$setup")" /S
  wineserver -w
  local dir="$WINEPREFIX/drive_c/Program Files/Vt350"
  [ -x "$dir/vt350.exe" ] || fail "the installer left no vt350.exe"
  (cd "$dir" && find . -type f | sort) >"$work/installed.txt"
  echo "installed: $(wc -l <"$work/installed.txt") files, $(du -sk "$dir" | cut -f1) KiB"
  cat "$work/installed.txt"
  "$run" reg query 'HKLM\Software\Classes\.vtd' 2>/dev/null | grep -q Vt350.Job || fail "no .vtd association"
  # The installed program starts, from its own folder only (no SDK on the path).
  WINEPATH= QT_PLUGIN_PATH= VT350_CONFIG_DIR="$work/config-installed" QT_QPA_PLATFORM=offscreen \
    wine "$dir/vt350-cli.exe" --help >/dev/null || fail "the installed vt350-cli does not start"
  # The installed window, on Windows' own platform plugin on a virtual display,
  # finds the printer on COM7: it started with what the installer put beside it.
  start_sim "$work/com7" "$work/installed.log"
  map_port COM7 "$work/com7"
  # Wine's desktop must start with the display: the first program after a
  # new wineserver is the window itself.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  mkdir -p "$work/config-installed"
  WINEPATH= QT_PLUGIN_PATH= VT350_CONFIG_DIR="$work/config-installed" \
    xvfb-run -a -s "-screen 0 1024x768x24" wine "$dir/vt350.exe" &
  local window=$!
  pids+=("$window")
  local ini="$work/config-installed/ConSet.InI"
  for _ in $(seq 600); do grep -qs 'ComPort=7' "$ini" && break; sleep 0.1; done
  kill "$window" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  stop_sim
  start_wine
  grep -qs 'ComPort=7' "$ini" || fail "the installed vt350.exe did not start or did not find the printer"
  echo "the installed vt350.exe started and found the printer on COM7"
  # The uninstaller runs on from a copy in the temporary folder; its own
  # exit code says nothing.
  "$run" "$(winpath "$dir/Uninstall.exe")" /S || true
  for _ in $(seq 300); do [ -e "$dir/vt350.exe" ] || break; sleep 0.1; done
  wineserver -w || true
  local left
  left=$( (find "$dir" -type f 2>/dev/null || true) | wc -l)
  echo "after uninstall: $left file(s) left in $dir"
  "$run" reg query 'HKLM\Software\Classes\Vt350.Job' >/dev/null 2>&1 && fail "the uninstaller left the association"
  [ "$left" -eq 0 ] || fail "the uninstaller left files"
}

# Named steps (suite, end_to_end, compare, installer) run only those, after the builds.
timed "toolchain (cache)" scripts/windows/toolchain.sh
timed "Windows build" scripts/windows/build.sh
timed "Linux sim and cli" linux_build
timed "Wine start" start_wine
steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(suite end_to_end compare installer)
for s in "${steps[@]}"; do
  case "$s" in
    suite) timed "tests under Wine" suite ;;
    end_to_end) timed "print through COM7" end_to_end ;;
    compare) timed "byte comparison" compare ;;
    installer) timed "installer" installer ;;
    *) fail "no step $s" ;;
  esac
done
printf '%s\n' "${times[@]}"
