#!/usr/bin/env bash
# The interactive download dialog under Wine and Xvfb, driven by a second program as a user
# would: Pause holds the bars, Resume continues, the dialog resized larger keeps its controls
# where their anchors put them, Cancel while paused closes it with "Download aborted." left to
# the caller, a wrong size shows its message box, Cancel against a server that has stopped
# sending closes the dialog within a second, keeping the partial file; and behind a proxy that
# wants credentials the system's own dialog asks for them and the downloads go on, the dialog
# says it tries again after a 503, and a refused certificate is told in words. Screenshots are
# kept as artefacts.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
name=download_dialog
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/download_run.exe"
driver="$TESSARA_WIN_BUILD/tests/download_driver.exe"
for tool in python3 wine import convert compare Xvfb xdpyinfo openssl tinyproxy; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
for f in "$run" "$driver"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done
rm -rf "$work"
mkdir -p "$work/srv" "$work/ack" "$work/shots"
tess_display || exit 1
tess_new_prefix "$work/prefix" || exit 1

server_pid=
proxy_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$proxy_pid" ] && kill "$proxy_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
. "$(dirname "$0")/../support/http-server.sh"
tess_make_test_ca "$work/ca" || exit 1
tess_start_http_server "$work/srv" "$work" 600 --tls "untrusted=$work/ca/untrusted.pem" || exit 1

# Start the prefix's services once, so that the two programs below share one desktop.
tess_expect_exit 0 wine cmd.exe /c exit >/dev/null 2>&1 || exit 1

head -c 3000000 /dev/urandom >"$work/srv/big.bin"
# Long enough at 400 KB/s (30 s) that a driver slowed by a loaded machine still cancels it.
head -c 12000000 /dev/urandom >"$work/srv/long.bin"
head -c 70000 /dev/urandom >"$work/srv/small.bin"

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# Runs the driver, taking a screenshot whenever it asks for one; returns the driver's status.
drive() { # mode [driver arguments]
  local mode=$1
  shift
  # No filter between the driver and this loop: a buffering one would hold back its requests.
  TESS_RUN_LIMIT=300 tess_expect_exit 0 wine "$driver" "$mode" "$(winpath "$work/ack")" "$@" \
    2>"$work/$mode.driver.err" | while IFS= read -r line; do
    line=${line%$'\r'}
    echo "$line"
    case $line in
    SHOT\ *)
      read -r shot rect <<<"${line#SHOT }"
      import -window root "$work/shots/$shot.png" 2>/dev/null
      echo "$rect" >"$work/shots/$shot.rect"
      touch "$work/ack/$shot"
      ;;
    esac
  done
  return "${PIPESTATUS[0]}"
}

# The screenshot shows the window where the driver found it: at least 40% of that rectangle
# is in the dialogs' face colour (an empty or wrong picture has none of it).
shot_shows_window() { # name
  local x y w h face share
  read -r x y w h face <"$work/shots/$1.rect" || return 1
  share=$(convert "$work/shots/$1.png" -crop "${w}x${h}+${x}+${y}" +repage \
    -fill black +opaque "#$face" -fill white -opaque "#$face" -format '%[fx:mean]' info:) || return 1
  echo "     $1: ${w}x${h} at ($x,$y), face colour share $share"
  awk -v s="$share" 'BEGIN { exit !(s > 0.4) }'
}
# Two screenshots differ inside the window's rectangle (the first one's).
shots_differ() { # name name
  local x y w h face pixels
  read -r x y w h face <"$work/shots/$1.rect" || return 1
  convert "$work/shots/$1.png" -crop "${w}x${h}+${x}+${y}" +repage "$work/shots/$1.crop.png" &&
    convert "$work/shots/$2.png" -crop "${w}x${h}+${x}+${y}" +repage "$work/shots/$2.crop.png" ||
    return 1
  pixels=$(compare -metric AE "$work/shots/$1.crop.png" "$work/shots/$2.crop.png" null: 2>&1)
  echo "     $1 and $2 differ in $pixels pixels of the window"
  [ "${pixels%% *}" -gt 0 ] 2>/dev/null
}

# 1. Pause, Resume, resize, Pause, Cancel. The long file comes slowly (at most 400 KB/s).
mkdir -p "$work/control"
TESS_RUN_LIMIT=300 tess_expect_exit 0 wine "$run" interactive "$(winpath "$work/control")" \
  "$base/rate=400000/long.bin" 12000000 - "$base/files/small.bin" 70000 - \
  >"$work/control.raw" 2>"$work/control.err" &
run_pid=$!
drive control >"$work/control.driver"
status=$?
cat "$work/control.driver"
check "driver: exit code 0 ($(cat "$work/control.driver.err"))" test $status -eq 0
wait "$run_pid"
status=$?
check "run: exit code 0 ($(cat "$work/control.err"))" test $status -eq 0
tr -d '\r' <"$work/control.raw" >"$work/control.out"
out="$work/control.out"
check "driver: every check held" test "$(grep -c '^BAD' "$work/control.driver")" = 0
check "driver: all 26 checks ran" test "$(grep -c '^OK' "$work/control.driver")" -eq 26
check "cancel: result 4" grep -qx "RESULT 4" "$out"
check "cancel: caller's text" grep -qx "TEXT Download aborted." "$out"
check "cancel: current item Failed" grep -qx "STATUS 0 1" "$out"
check "cancel: later item Pending" grep -qx "STATUS 1 4" "$out"
kept=$(stat -c %s "$work/control/long.bin" 2>/dev/null || echo 0)
check "cancel: partial file kept ($kept bytes)" test "$kept" -gt 0 -a "$kept" -lt 12000000
for shot in opened paused resized; do
  check "screenshot $shot shows the dialog" shot_shows_window "$shot"
done
check "screenshots: paused differs from opened" shots_differ opened paused
read -r _ _ w1 h1 _ <"$work/shots/paused.rect"
read -r _ _ w2 h2 _ <"$work/shots/resized.rect"
check "screenshots: resized is 240x160 larger" test $((w2 - w1)) -eq 240 -a $((h2 - h1)) -eq 160
grep '^HOLD_MS' "$work/control.driver"

# 2. A wrong size: the box's text, the item Failed, the next one fetched.
mkdir -p "$work/wrong"
TESS_RUN_LIMIT=300 tess_expect_exit 0 wine "$run" interactive "$(winpath "$work/wrong")" \
  "$base/lie=5/small.bin" 70000 - "$base/files/big.bin" 3000000 - \
  >"$work/wrong.raw" 2>"$work/wrong.err" &
run_pid=$!
drive wrongsize >"$work/wrong.driver"
status=$?
cat "$work/wrong.driver"
check "wrong: driver exit code 0 ($(cat "$work/wrongsize.driver.err"))" test $status -eq 0
wait "$run_pid"
status=$?
check "wrong: run exit code 0 ($(cat "$work/wrong.err"))" test $status -eq 0
tr -d '\r' <"$work/wrong.raw" >"$work/wrong.out"
check "wrong: driver checks held" test "$(grep -c '^BAD' "$work/wrong.driver")" = 0
check "wrong: box text" grep -qx "BOX_TEXT Wrong file size. The downloaded file cannot be found or is corrupt." "$work/wrong.driver"
check "wrong: result 0" grep -qx "RESULT 0" "$work/wrong.out"
check "wrong: first Failed" grep -qx "STATUS 0 1" "$work/wrong.out"
check "wrong: second Ok" grep -qx "STATUS 1 0" "$work/wrong.out"
check "wrong: screenshot shows the box" shot_shows_window wrongsize

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

# 4. Behind a proxy that wants credentials (the prefix's Internet Settings point at it, loopback
#    included): the system's dialog asks for them, the first file is tried again after two 503
#    answers, and the second's untrusted certificate is told in words.
mkdir -p "$work/network" "$work/proxy"
tess_start_proxy "$work/proxy" "tessara s3cret" || { echo "FAIL tinyproxy did not start"; exit 1; }
tess_use_proxy "$proxy_port"
untrusted="https://localhost:$(tls_port untrusted)/files/big.bin"
TESS_RUN_LIMIT=300 tess_expect_exit 0 wine "$run" interactive "$(winpath "$work/network")" \
  "$base/times=2/status=503/small.bin" 70000 - "$untrusted" 3000000 - \
  >"$work/network.raw" 2>"$work/network.err" &
run_pid=$!
drive network tessara s3cret >"$work/network.driver"
status=$?
cat "$work/network.driver"
check "network: driver exit code 0 ($(cat "$work/network.driver.err"))" test $status -eq 0
wait "$run_pid"
tr -d '\r' <"$work/network.raw" >"$work/network.out"
check "network: driver checks held" test "$(grep -c '^BAD' "$work/network.driver")" = 0
check "network: the first file came through the proxy" grep -qx "STATUS 0 0" "$work/network.out"
check "network: the file is whole" cmp -s "$work/srv/small.bin" "$work/network/small.bin"
check "network: the proxy saw it" grep -q "Request .*: GET $base/times=2/status=503/small.bin" "$work/proxy/tinyproxy.log"
check "network: the certificate refusal in words" \
  grep -qx "BOX_TEXT The server's certificate is not trusted." "$work/network.driver"
check "network: the box names the address" grep -qxF "$untrusted" "$work/network.driver"
check "network: nothing of the refused file saved" grep -qx "STATUS 1 2" "$work/network.out"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
