#!/usr/bin/env bash
# The install pass under Wine and Xvfb, as a user meets it: a packed setup carries one
# prerequisite's setup, two more lie in the download folder, and recording setups note how and
# in which order they were started. Interactively the "Launching PreRequisites" window names
# each setup, is read and screenshotted by a driver, and ignores Esc and the close box while a
# setup runs; quietly the same setups run with no window; without a worker thread they run on
# the window's own thread. A SetupFile the archive does not hold is never run, even when a file
# of that name lies in the temporary folder.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
name=install_runner
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/install_run.exe"
driver="$TESSARA_WIN_BUILD/tests/launch_driver.exe"
boxes="$TESSARA_WIN_BUILD/tests/window_driver.exe"
recorder="$TESSARA_WIN_BUILD/tests/recording_setup.exe"
stub="$TESSARA_WIN_BUILD/app/tessara-stub.exe"
pack="$TESSARA_NATIVE_BUILD/packer/tessara-pack"
for tool in wine wineserver import identify Xvfb xdpyinfo wixl; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
for f in "$run" "$driver" "$boxes" "$recorder" "$stub" "$pack"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done
rm -rf "$work"
mkdir -p "$work/pkg" "$work/ack" "$work/shots"
tess_display || exit 1
tess_new_prefix "$work/prefix" || exit 1
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
timeout 120 wine cmd.exe /c exit >/dev/null 2>&1

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# The setup: the sample package and Second.exe, a recording setup, in its archive.
cp "$TESSARA_ROOT/tests/support/sample/sample.wxs" "$TESSARA_ROOT/tests/support/sample/readme.txt" "$work/pkg/"
(cd "$work/pkg" && tess_wixl sample.msi sample.wxs) || { echo "wixl failed"; exit 1; }
cp "$recorder" "$work/pkg/Second.exe"
"$pack" pack --stub "$stub" --msi "$work/pkg/sample.msi" --prereq "$work/pkg/Second.exe" \
  -o "$work/setup.exe" || { echo "pack failed"; exit 1; }
size=$(stat -c %s "$recorder")

# App1 is fetched (the pass leaves it Downloaded), App2 comes from the archive with an empty
# CommandLine, App3 lies complete in the folder; App4 names no entry of the archive; App5's
# download failed and App6's is pending, though files of both names lie in the folder; App7 is
# Downloaded but its file is gone, so the shell cannot start it.
search=$'SearchType=1\r\nSearchString=HKLM\\Software\\TessaraTest\\Absent'
cat >"$work/runner.ini" <<INI
[PREREQUISITES]
App1=Fetched One
App2=Second Setup
App3=Third Setup
App4=Stray Setup
App5=Failed Download
App6=Not Fetched
App7=Vanished
[App1]
Url=http://127.0.0.1:9/files/First.exe
ExactSize=1
CommandLine=/first "a b"
$search
[App2]
SetupFile=Second.exe
CommandLine=
$search
[App3]
Url=http://127.0.0.1:9/files/Third.exe
ExactSize=$size
CommandLine=/third
$search
[App4]
SetupFile=Stray.exe
$search
[App5]
Url=http://127.0.0.1:9/files/Fifth.exe
ExactSize=$size
$search
[App6]
Url=http://127.0.0.1:9/files/Sixth.exe
ExactSize=1
$search
[App7]
Url=http://127.0.0.1:9/files/Seventh.exe
ExactSize=1
$search
INI

temp=$(tess_temp_dir)
# One pass in a fresh download folder; prints install_run's output into $work/<label>.out.
pass() { # label mode
  local label=$1 mode=$2
  rm -rf "$work/dl-$label"
  mkdir -p "$work/dl-$label"
  for f in First Third Fifth Sixth; do cp "$recorder" "$work/dl-$label/$f.exe"; done
  cp "$recorder" "$temp/Stray.exe"
  rm -f "$work/$label.record" "$work/$label.boxes"
  # The shell reports App7's missing file in its own box, once per pass: a user presses OK.
  (for _ in 1 2; do timeout 200 wine "$boxes" dialog 180 OK 2>/dev/null | tr -d '\r' >>"$work/$label.boxes"; done) &
  local presser=$!
  TESSARA_SETUP_RECORD="$(winpath "$work/$label.record")" \
    timeout 300 wine "$run" "$mode" "$(winpath "$work/setup.exe")" "$(winpath "$work/runner.ini")" \
    "$(winpath "$work/dl-$label")" 0=4 4=5 6=4 2>"$work/$label.err" | tr -d '\r' >"$work/$label.out"
  echo "${PIPESTATUS[0]}" >"$work/$label.status"
  # A run that ended early says why: its status and what Wine or the program printed. The boxes
  # it never showed are not waited for.
  if [ "$(cat "$work/$label.status")" != 0 ]; then
    local pressers
    pressers=$(pgrep -P "$presser")
    kill "$presser" $pressers 2>/dev/null
    echo "     $label: install_run ended with $(cat "$work/$label.status"); its last output and errors:"
    tail -n 5 "$work/$label.out" | sed 's/^/       /'
    tail -n 40 "$work/$label.err" | tr -d '\r' | sed 's/^/       /'
  fi
  wait "$presser"
}

expect_common() { # label
  local label=$1 out="$work/$1.out"
  check "$label: exit code 0" test "$(cat "$work/$label.status")" = 0
  check "$label: actions Downloaded, Install, AlreadyDownloaded, Install, DownloadFailed, Download, Downloaded" \
    test "$(grep '^ACTION' "$out" | cut -d' ' -f3 | tr '\n' ' ')" = "4 1 6 1 5 2 4 "
  check "$label: both passes returned" grep -qx "RESULT 0" "$out"
  check "$label: started App1..App3, not App4..App7" \
    test "$(grep '^STARTED' "$out" | cut -d' ' -f3 | tr '\n' ' ')" = "1 1 1 0 0 0 0 "
  check "$label: the shell's box for the vanished file, once per pass" \
    test "$(grep -c '^title:' "$work/$label.boxes")" = 2
  check "$label: the stray file in the temporary folder was left alone" cmp -s "$recorder" "$temp/Stray.exe"
  check "$label: the archive's setup was removed with the archive" test ! -e "$temp/Second.exe"
  grep '^FIRST_PASS_HANDLES' "$out" | sed 's/^/     /'
  read -r _ hb ha < <(grep '^HANDLES' "$out")
  read -r _ tb ta < <(grep '^THREADS' "$out")
  echo "     handles $hb -> $ha, threads $tb -> $ta"
  check "$label: no handle left behind" test "$ha" -le "$hb"
  check "$label: no thread left behind" test "$ta" -le "$tb"
}

# The order and command lines each setup saw, with the name the window showed meanwhile. The
# worker posts the name before it starts the setup, so a setup may look before the window has
# shown it: "window" accepts any name as long as the window was there.
expect_record() { # label window-name-1 window-name-2 window-name-3
  local record
  record=$(tr -d '\r' <"$work/$1.record")
  [ "$2" = window ] && record=$(sed 's/|[^|-][^|]*$/|window/' <<<"$record")
  local expected
  expected=$(printf '%s\n' "First.exe|[ /first \"a b\"]|$2" "Second.exe|<none>|$3" \
    "Third.exe|[ /third]|$4" "First.exe|[ /first \"a b\"]|$2" "Second.exe|<none>|$3" \
    "Third.exe|[ /third]|$4")
  check "$1: order, parameters and window" test "$record" = "$expected"
  [ "$record" = "$expected" ] || printf 'got:\n%s\nexpected:\n%s\n' "$record" "$expected"
}

# Each run makes two passes, as a user's retry would; every scheduled setup runs in both.
# 1. Interactive, driven: the first setup is held until the driver has done its checks.
export TESSARA_SETUP_HOLD=First.exe
pass interactive interactive &
pass_pid=$!
timeout 300 wine "$driver" "$(winpath "$work/ack")" "Fetched One" "Second Setup" 2>/dev/null |
  while IFS= read -r line; do
    line=${line%$'\r'}
    echo "     $line"
    echo "$line" >>"$work/driver.out"
    if [ "$line" = "SHOT launch" ]; then
      import -window root "$work/shots/launch.png" 2>/dev/null
      touch "$work/ack/launch"
    fi
  done
wait "$pass_pid"
unset TESSARA_SETUP_HOLD
check "driver: every check held" test "$(grep -c '^BAD' "$work/driver.out")" = 0
check "driver: checks ran" test "$(grep -c '^OK' "$work/driver.out")" -ge 9
expect_common interactive
expect_record interactive window window window
colours=$(identify -format %k "$work/shots/launch.png" 2>/dev/null || echo 0)
check "screenshot of the launch window is not blank ($colours colours)" test "$colours" -gt 1

# 2. Quiet: the same setups on the calling thread, no window at any time.
pass silent silent
expect_common silent
expect_record silent - - -

# 3. No worker thread: the window's own thread runs them, naming each, then closes.
pass nothread nothread
expect_common nothread
expect_record nothread "Fetched One" "Second Setup" "Third Setup"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
