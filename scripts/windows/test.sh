#!/usr/bin/env bash
# The Windows check, apart from CI: builds the Windows programs and tests
# (build.sh), runs the whole Windows test suite under Wine, prints through a
# Windows COM port to the virtual printer, compares the Windows vt350-cli's
# documents, listings and frames byte for byte with the Linux build's, and
# installs and uninstalls the installer. Prints how long each step took.
set -euo pipefail
# Wine takes the names on its command line, and the Unix names of files, in
# the locale's character set: UTF-8, for the Chinese names below.
export LC_ALL=C.UTF-8
repo="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$repo"
SDK="${VT350_WIN_SDK:-/opt/vt350-win-sdk}"
export VT350_WIN_SDK="$SDK"
JOBS_TO_COMPARE="${JOBS_TO_COMPARE:-300}"
run="$repo/scripts/windows/wine-run"
export WINEPREFIX="$repo/build-win/wine"
# Nor Wine's menu builder, which copies Start menu entries the installer
# makes into this machine's own desktop menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
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

  # The window's port search at start finds the printer on COM7 and keeps it
  # in ConSet.InI of a user named in Chinese (the local application data
  # folder moved there for this run); then the file named on the command
  # line, in a folder named in Chinese, is imported and becomes a recent file.
  start_sim "$work/com7" "$work/search.log"
  map_port COM7 "$work/com7"
  chinese_files
  local folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
  local saved profile="$WINEPREFIX/drive_c/users/张三/AppData/Local"
  saved=$("$run" reg query "$folders" /v 'Local AppData' 2>/dev/null | tr -d '\r' | awk '/Local AppData/ {print $4}')
  rm -rf "$WINEPREFIX/drive_c/users/张三"
  mkdir -p "$profile"
  "$run" reg add "$folders" /v 'Local AppData' /t REG_EXPAND_SZ /d 'C:\users\张三\AppData\Local' /f >/dev/null
  QT_QPA_PLATFORM=offscreen "$run" build-win/src/vt350.exe 'C:\线号\线号表.csv' &
  local window=$!
  pids+=("$window")
  local ini="$profile/vt350/vt350/ConSet.InI" recent="$profile/vt350/vt350/recent-files.ini"
  for _ in $(seq 600); do grep -qs 'ComPort=7' "$ini" && grep -qs '线号表.csv' "$recent" && break; sleep 0.1; done
  kill "$window" 2>/dev/null || true
  stop_sim
  "$run" reg add "$folders" /v 'Local AppData' /t REG_EXPAND_SZ /d "${saved:-%USERPROFILE%\AppData\Local}" /f >/dev/null
  grep -qs 'ComPort=7' "$ini" || fail "the window's port search did not find the printer on COM7 (or kept it elsewhere)"
  echo "vt350.exe found the printer on COM7 and kept it in C:\users\张三\AppData\Local\vt350\vt350\ConSet.InI"
  grep -qs '线号表.csv' "$recent" || fail "the window did not import C:\线号\线号表.csv"
  echo "vt350.exe imported C:\线号\线号表.csv: $(grep -s 'Files' "$recent")"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINEPREFIX/drive_c/users/张三"
  start_wine
}

# C:\线号\线号表.xlsx, .ods, .xls and .csv: the wire list in each table format.
chinese_files() {
  local dir="$WINEPREFIX/drive_c/线号"
  rm -rf "$dir"
  mkdir -p "$dir"
  local e
  for e in xlsx ods xls; do cp "tests/files/fixtures/wirelist.$e" "$dir/线号表.$e"; done
  printf 'X1:1;K1:A1;2\r\n电源;变压器:L;1\r\n' >"$dir/线号表.csv"
}

# vt350-cli.exe shows and converts every table format from C:\线号\, names
# those files back in its messages and on standard output, and writes the
# documents the Linux build writes from the same files.
paths() {
  chinese_files
  local dir="$WINEPREFIX/drive_c/线号" out="$work/paths" cli e
  cli=$(winpath build-win/tools/vt350-cli.exe)
  mkdir -p "$out"
  for e in xlsx ods xls csv; do
    "$run" "$cli" show "C:\\线号\\线号表.$e" >"$out/$e.show" 2>"$out/$e.err" || { cat "$out/$e.err"; fail "show of C:\\线号\\线号表.$e"; }
    "$run" "$cli" convert "C:\\线号\\线号表.$e" "C:\\线号\\线号表-$e.vtd" 2>>"$out/$e.err" \
      || { cat "$out/$e.err"; fail "convert of C:\\线号\\线号表.$e"; }
    echo "vt350-cli.exe show C:\\线号\\线号表.$e"
    sed 's/^/  /' "$out/$e.show" "$out/$e.err"
    build/tools/vt350-cli convert "$dir/线号表.$e" "$out/$e.vtd" 2>/dev/null
    cmp -s "$out/$e.vtd" "$dir/线号表-$e.vtd" || fail "C:\\线号\\线号表-$e.vtd differs from the Linux build's"
    echo "vt350-cli.exe convert C:\\线号\\线号表.$e C:\\线号\\线号表-$e.vtd: $(stat -c %s "$out/$e.vtd") bytes, as the Linux build writes them"
  done
  "$run" "$cli" convert 'C:\线号\线号表.xlsx' 'C:\线号\分' --split --header >"$out/split.out" 2>&1 || fail "the split in C:\\线号"
  grep -qxF 'C:\线号\分-1.vtd' "$out/split.out" || { cat "$out/split.out"; fail "the split did not name its part"; }
  echo "vt350-cli.exe convert C:\\线号\\线号表.xlsx C:\\线号\\分 --split --header: $(cat "$out/split.out")"
  "$run" "$cli" show 'C:\线号\线号表.doc' 2>"$out/doc.err" && fail "show of a .doc"
  grep -qF 'C:\线号\线号表.doc' "$out/doc.err" || { cat "$out/doc.err"; fail "the message does not name C:\\线号\\线号表.doc"; }
  echo "vt350-cli.exe show C:\\线号\\线号表.doc: $(cat "$out/doc.err")"
}

# The three Windows commands for one input, as lines of a batch file.
win_commands() {
  local f=$1 b wf wo cli
  b=$(basename "$f")
  wf=$(winpath "$f")
  wo=$(winpath "$work/win")
  cli=$(winpath build-win/tools/vt350-cli.exe)
  printf '%s\r\n' \
    "\"$cli\" convert \"$wf\" \"$wo\\$b.vtd\" >NUL 2>\"$wo\\$b.convert.err\"" \
    "echo %ERRORLEVEL% >\"$wo\\$b.convert.rc\"" \
    "\"$cli\" show \"$wf\" --json >\"$wo\\$b.json\" 2>NUL" \
    "echo %ERRORLEVEL% >\"$wo\\$b.show.rc\"" \
    "\"$cli\" frame \"$wf\" -o \"$wo\\$b.frames\" 2>NUL" \
    "echo %ERRORLEVEL% >\"$wo\\$b.frame.rc\""
}

# Runs the Windows commands of the given inputs in a single Wine session.
run_batch() {
  local bat="$work/compare.bat" f
  printf '@echo off\r\n' >"$bat"
  for f in "$@"; do win_commands "$f" >>"$bat"; done
  "$run" cmd /c "$(winpath "$bat")" >/dev/null 2>&1 || true
}

# The outputs of the Linux build that the Windows build did not match, one
# name a line; $work/left-nothing gets the inputs whose every differing
# output the Windows program left empty or unwritten (or only its exit code
# differs): the sign of a program that Wine did not start.
differing() {
  local f b input
  : >"$work/left-nothing"
  : >"$work/wrote-otherwise"
  for f in "$work"/lin/*; do
    b=$(basename "$f")
    case "$b" in
      *.rc) cmp -s <(tr -d ' \r\n' <"$f") <(tr -d ' \r\n' <"$work/win/$b" 2>/dev/null) && continue ;;
      *.err) continue ;;
      *) cmp -s "$f" "$work/win/$b" && continue ;;
    esac
    echo "$b"
    input=${b%.*}
    input=${input%.convert}
    input=${input%.show}
    input=${input%.frame}
    case "$b" in
      *.rc) echo "$input" >>"$work/left-nothing" ;;
      *) if [ -s "$work/win/$b" ]; then echo "$input" >>"$work/wrote-otherwise"; else echo "$input" >>"$work/left-nothing"; fi ;;
    esac
  done
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
  local f b rc
  for f in "$inputs"/*; do
    b=$(basename "$f")
    rc=0; build/tools/vt350-cli convert "$f" "$work/lin/$b.vtd" >/dev/null 2>"$work/lin/$b.convert.err" || rc=$?
    echo $rc >"$work/lin/$b.convert.rc"
    rc=0; build/tools/vt350-cli show "$f" --json >"$work/lin/$b.json" 2>/dev/null || rc=$?
    echo $rc >"$work/lin/$b.show.rc"
    rc=0; build/tools/vt350-cli frame "$f" -o "$work/lin/$b.frames" 2>/dev/null || rc=$?
    echo $rc >"$work/lin/$b.frame.rc"
  done
  run_batch "$inputs"/*
  local n first again=()
  n=$(ls "$work/lin" | grep -vc '\.err$')
  first=$(differing)
  # Wrong content fails at once; an input whose program left nothing runs once more.
  [ ! -s "$work/wrote-otherwise" ] || { echo "$first" >&2; fail "the Windows vt350-cli differs from the Linux build"; }
  mapfile -t again < <(sort -u "$work/left-nothing")
  if [ ${#again[@]} -gt 0 ]; then
    echo "${#again[@]} input(s) left an output empty or only an exit code differing (${again[*]}): running them once more"
    for b in "${again[@]}"; do rm -f "$work/win/$b".*; done
    run_batch "${again[@]/#/$inputs/}"
  fi
  local still
  still=$(differing)
  echo "$n outputs of $(ls "$inputs" | wc -l) inputs compared; $(printf '%s' "$first" | grep -c .) differed at first (${#again[@]} input(s) run again), $(printf '%s' "$still" | grep -c .) differ now"
  [ -z "$still" ] || { echo "$still" >&2; fail "the Windows vt350-cli differs from the Linux build"; }
}

# What the program has on the Wine machine: files and folders under C: and
# registry keys that name it (the registry files are written once the
# wineserver has ended).
installed_state() {
  wineserver -w || true
  (cd "$WINEPREFIX/drive_c" && find . -ipath '*vt350*' | sed 's|^\./|C:/|' | sort)
  { grep -ih '^\[.*\(vt350\|\.vtd\)' "$WINEPREFIX/system.reg" || true; } | sed 's/^\[/HKLM\\/; s/\] [0-9]*$//; s/\\\\/\\/g' | sort
  { grep -ih '^\[.*\(vt350\|\.vtd\)' "$WINEPREFIX/user.reg" || true; } | sed 's/^\[/HKCU\\/; s/\] [0-9]*$//; s/\\\\/\\/g' | sort
}

# Runs an uninstaller and waits for it: it runs on from a copy in the
# temporary folder, so its own exit code says nothing.
uninstall() {
  local dir=$1
  "$run" "$(winpath "$dir/Uninstall.exe")" /S || true
  for _ in $(seq 300); do [ -e "$dir/vt350.exe" ] || break; sleep 0.1; done
}

# Lists what an install or uninstall changed against the state before.
changes() {
  local what=$1 before=$2 after=$3
  echo "$what:"
  { diff "$before" "$after" || true; } | sed -n 's/^> /  added:   /p; s/^< /  removed: /p'
}

installer() {
  local setup
  setup=$(ls build-win/vt350-*-win64.exe)
  echo "$setup: $(stat -c %s "$setup") bytes"
  # The installer asks for no rights of its own; only "for all users" needs them.
  grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup" || fail "the installer asks for administrator rights"
  echo "the installer's manifest: requestedExecutionLevel asInvoker"
  installed_state >"$work/state-before.txt"

  # For me only: the user's programs folder, Start menu and classes.
  "$run" "$(winpath "$setup")" /S /CurrentUser
  installed_state >"$work/state-user.txt"
  changes "installed for the user (/S /CurrentUser)" "$work/state-before.txt" "$work/state-user.txt"
  local mine
  mine=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Vt350 2>/dev/null | head -1)
  [ -n "$mine" ] && [ -x "$mine/vt350.exe" ] || fail "/CurrentUser left no vt350.exe in the user's programs folder"
  grep -q '^HKCU\\Software\\Classes\\.vtd$' "$work/state-user.txt" || fail "no .vtd association in the user's classes"
  grep -q '^HKLM\|^C:/Program Files' "$work/state-user.txt" && fail "/CurrentUser wrote outside the user's own places"
  "$run" reg query 'HKCU\Software\Classes\.vtd' 2>/dev/null | grep -q Vt350.Job || fail "the user's .vtd is not the program's"
  WINEPATH= QT_PLUGIN_PATH= VT350_CONFIG_DIR="$work/config-installed" QT_QPA_PLATFORM=offscreen \
    wine "$mine/vt350-cli.exe" --help >/dev/null || fail "the vt350-cli installed for the user does not start"
  uninstall "$mine"
  installed_state >"$work/state-user-gone.txt"
  changes "left by its uninstaller" "$work/state-before.txt" "$work/state-user-gone.txt"
  cmp -s "$work/state-before.txt" "$work/state-user-gone.txt" || fail "the uninstaller of /CurrentUser left something"

  # For all users: Program Files, every user's Start menu, HKLM.
  "$run" "$(winpath "$setup")" /S /AllUsers
  installed_state >"$work/state-all.txt"
  changes "installed for all users (/S /AllUsers)" "$work/state-before.txt" "$work/state-all.txt"
  local dir="$WINEPREFIX/drive_c/Program Files/Vt350"
  [ -x "$dir/vt350.exe" ] || fail "the installer left no vt350.exe"
  (cd "$dir" && find . -type f | sort) >"$work/installed.txt"
  echo "installed: $(wc -l <"$work/installed.txt") files, $(du -sk "$dir" | cut -f1) KiB"
  cat "$work/installed.txt"
  "$run" reg query 'HKLM\Software\Classes\.vtd' 2>/dev/null | grep -q Vt350.Job || fail "no .vtd association"
  grep -q '^HKCU' "$work/state-all.txt" && fail "/AllUsers wrote in the user's classes"
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
  WINEPATH= QT_PLUGIN_PATH= VT350_CONFIG_DIR="$work/config-installed" VT350_STATE_DIR="$work/state-installed" \
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
  uninstall "$dir"
  installed_state >"$work/state-all-gone.txt"
  changes "left by its uninstaller" "$work/state-before.txt" "$work/state-all-gone.txt"
  cmp -s "$work/state-before.txt" "$work/state-all-gone.txt" || fail "the uninstaller of /AllUsers left something"
}

# Named steps (suite, end_to_end, paths, compare, installer) run only those, after the builds.
timed "toolchain (cache)" scripts/windows/toolchain.sh
timed "Windows build" scripts/windows/build.sh
timed "Linux sim and cli" linux_build
timed "Wine start" start_wine
steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(suite end_to_end paths compare installer)
for s in "${steps[@]}"; do
  case "$s" in
    suite) timed "tests under Wine" suite ;;
    end_to_end) timed "print through COM7" end_to_end ;;
    paths) timed "files in C:\\线号" paths ;;
    compare) timed "byte comparison" compare ;;
    installer) timed "installer" installer ;;
    *) fail "no step $s" ;;
  esac
done
printf '%s\n' "${times[@]}"
