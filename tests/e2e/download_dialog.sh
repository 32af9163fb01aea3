#!/usr/bin/env bash
# The interactive download dialog under Wine and Xvfb, driven by a second program as a user
# would: Pause holds the bars, Resume continues, the dialog resized larger keeps its controls
# where their anchors put them, Cancel while paused closes it with "Download aborted." left to
# the caller, a wrong size shows its message box, and Cancel against a server that has stopped
# sending closes the dialog within a second, keeping the partial file. Screenshots are kept as artefacts.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
name=download_dialog
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/download_run.exe"
driver="$TESSARA_WIN_BUILD/tests/download_driver.exe"
for tool in python3 wine import Xvfb xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
for f in "$run" "$driver"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done
rm -rf "$work"
mkdir -p "$work/srv" "$work/ack" "$work/shots"
tess_display || exit 1
tess_new_prefix "$work/prefix" || exit 1

server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
. "$(dirname "$0")/../support/http-server.sh"
tess_start_http_server "$work/srv" "$work" || exit 1

# Start the prefix's services once, so that the two programs below share one desktop.
wine cmd.exe /c exit >/dev/null 2>&1

head -c 3000000 /dev/urandom >"$work/srv/big.bin"
head -c 70000 /dev/urandom >"$work/srv/small.bin"

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# Runs the driver, taking a screenshot whenever it asks for one.
drive() { # mode
  # No filter between the driver and this loop: a buffering one would hold back its requests.
  wine "$driver" "$1" "$(winpath "$work/ack")" 2>/dev/null | while IFS= read -r line; do
    line=${line%$'\r'}
    echo "$line"
    case $line in
    SHOT\ *)
      shot=${line#SHOT }
      import -window root "$work/shots/$shot.png" 2>/dev/null
      touch "$work/ack/$shot"
      ;;
    esac
  done
}

# 1. Pause, Resume, resize, Pause, Cancel. The big file comes slowly (at most 400 KB/s).
mkdir -p "$work/control"
wine "$run" interactive "$(winpath "$work/control")" "$base/rate=400000/big.bin" 3000000 - \
  "$base/files/small.bin" 70000 - 2>/dev/null | tr -d '\r' >"$work/control.out" &
run_pid=$!
drive control | tee "$work/control.driver"
wait "$run_pid"
out="$work/control.out"
check "driver: every check held" test "$(grep -c '^BAD' "$work/control.driver")" = 0
check "driver: checks ran" test "$(grep -c '^OK' "$work/control.driver")" -ge 15
check "cancel: result 4" grep -qx "RESULT 4" "$out"
check "cancel: caller's text" grep -qx "TEXT Download aborted." "$out"
check "cancel: current item Failed" grep -qx "STATUS 0 1" "$out"
check "cancel: later item Pending" grep -qx "STATUS 1 4" "$out"
kept=$(stat -c %s "$work/control/big.bin" 2>/dev/null || echo 0)
check "cancel: partial file kept ($kept bytes)" test "$kept" -gt 0 -a "$kept" -lt 3000000
for shot in opened paused resized; do
  check "screenshot $shot" test -s "$work/shots/$shot.png"
done
grep '^HOLD_MS' "$work/control.driver"

# 2. A wrong size: the box's text, the item Failed, the next one fetched.
mkdir -p "$work/wrong"
wine "$run" interactive "$(winpath "$work/wrong")" "$base/lie=5/small.bin" 70000 - \
  "$base/files/big.bin" 3000000 - 2>/dev/null | tr -d '\r' >"$work/wrong.out" &
run_pid=$!
drive wrongsize | tee "$work/wrong.driver"
wait "$run_pid"
check "wrong: driver checks held" test "$(grep -c '^BAD' "$work/wrong.driver")" = 0
check "wrong: box text" grep -qx "BOX_TEXT Wrong file size. The downloaded file cannot be found or is corrupt." "$work/wrong.driver"
check "wrong: result 0" grep -qx "RESULT 0" "$work/wrong.out"
check "wrong: first Failed" grep -qx "STATUS 0 1" "$work/wrong.out"
check "wrong: second Ok" grep -qx "STATUS 1 0" "$work/wrong.out"
check "wrong: screenshot" test -s "$work/shots/wrongsize.png"

# 3. The server sends the headers and 100000 bytes, then nothing: the worker is blocked in a
#    read when Cancel comes.
mkdir -p "$work/stall"
timeout 150 wine "$run" interactive "$(winpath "$work/stall")" "$base/stall=100000/big.bin" \
  3000000 - 2>/dev/null | tr -d '\r' >"$work/stall.out" &
run_pid=$!
drive cancel | tee "$work/stall.driver"
wait "$run_pid"
check "stall: driver checks held" test "$(grep -c '^BAD' "$work/stall.driver")" = 0
cancel_ms=$(awk '/^CANCEL_MS/{ print $2 }' "$work/stall.driver")
check "stall: closed within a second of Cancel (${cancel_ms:-?} ms)" test "${cancel_ms:-99999}" -le 1000
check "stall: result 4" grep -qx "RESULT 4" "$work/stall.out"
kept=$(stat -c %s "$work/stall/big.bin" 2>/dev/null || echo 0)
# What the blocked read had gathered is lost with it; what was written before stays.
check "stall: partial file kept ($kept bytes)" test "$kept" -gt 0 -a "$kept" -le 100000
grep '^GONE_MS' "$work/stall.driver"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
