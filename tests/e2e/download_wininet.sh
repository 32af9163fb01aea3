#!/usr/bin/env bash
# The download engine with real WinINet under Wine against the project's test server: resume,
# wrong and missing lengths, a cut connection, a URL that cannot be opened, a silent batch,
# the SHA-256 check, a batch destroyed while a silent server holds its worker, and no copy left
# in WinINet's cache. Exits non-zero on the first failed expectation.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
name=download_wininet
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/download_run.exe"
for tool in python3 wine cmp sha256sum; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
[ -f "$run" ] || { echo "missing $run"; exit 1; }
rm -rf "$work"
mkdir -p "$work/srv"
tess_new_prefix "$work/prefix" || exit 1

server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wineserver -k 2>/dev/null
}
trap cleanup EXIT
. "$(dirname "$0")/../support/http-server.sh"
tess_start_http_server "$work/srv" "$work" || exit 1

failures=0
check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
has() { grep -qx -- "$2" "$1"; }
# download_run <case> <mode> <url size sha>...: output in $work/<case>.out, files in $work/<case>/
download_run() {
  local case=$1 mode=$2
  shift 2
  mkdir -p "$work/$case"
  tess_expect_exit 0 wine "$run" "$mode" "$(winpath "$work/$case")" "$@" >"$work/$case.raw" \
    2>"$work/$case.err"
  local status=$?
  # Wine's console ends lines with CR LF.
  tr -d '\r' <"$work/$case.raw" >"$work/$case.out"
  check "$case: download_run exit code 0 ($(cat "$work/$case.err"))" test $status -eq 0
}

head -c 300000 /dev/urandom >"$work/srv/complete.bin"
head -c 400000 /dev/urandom >"$work/srv/partial.bin"
head -c 250000 /dev/urandom >"$work/srv/missing.bin"
head -c 70000 /dev/urandom >"$work/srv/other.bin"

# 1. One file complete already, one partial, one missing.
mkdir -p "$work/three"
cp "$work/srv/complete.bin" "$work/three/"
head -c 123456 "$work/srv/partial.bin" >"$work/three/partial.bin"
download_run three messages "$base/files/complete.bin" 300000 - "$base/files/partial.bin" 400000 - \
  "$base/files/missing.bin" 250000 -
out="$work/three.out"
check "three: result 0" has "$out" "RESULT 0"
check "three: every status Ok" test "$(grep -c '^STATUS [0-2] 0$' "$out")" = 3
check "three: complete file reported whole, not fetched" \
  test "$(sed -n 2p "$out")" = "MSG 1027 300000 0"
check "three: partial file resumed at its size" grep -qx "MSG 1027 123456 0" "$out"
check "three: files identical" cmp -s "$work/srv/partial.bin" "$work/three/partial.bin"
check "three: missing fetched" cmp -s "$work/srv/missing.bin" "$work/three/missing.bin"
check "three: resume asked for the rest" grep -q "^/files/partial.bin range=bytes=123456- agent=Tessara$" "$work/requests.log"
check "three: all done last" test "$(grep '^MSG' "$out" | tail -n 1)" = "MSG 1035 0 0"

# 2. A wrong Content-Length: the local file untouched, the next item starts.
mkdir -p "$work/wrong"
echo "keep me" >"$work/wrong/other.bin"
download_run wrong messages "$base/lie=999/other.bin" 70000 - "$base/files/missing.bin" 250000 -
out="$work/wrong.out"
check "wrong: size message with the server's length" grep -qx "MSG 1034 999 0" "$out"
check "wrong: first Failed, second Ok" has "$out" "STATUS 0 1"
check "wrong: second Ok" has "$out" "STATUS 1 0"
check "wrong: local file untouched" test "$(cat "$work/wrong/other.bin")" = "keep me"
check "wrong: next item started" grep -qx "MSG 1026 1 0" "$out"

# 3. No Content-Length: fetched whatever its size.
download_run nolength messages "$base/nolength/other.bin" 0 -
check "nolength: Ok" has "$work/nolength.out" "STATUS 0 0"
check "nolength: whole file" cmp -s "$work/srv/other.bin" "$work/nolength/other.bin"

# 4. The connection cut mid-file: read failure, the partial file kept, the batch goes on; a
#    second batch resumes it.
download_run cut messages "$base/cut=100000/partial.bin" 400000 - "$base/files/other.bin" 70000 -
out="$work/cut.out"
check "cut: read failure for the first" grep -qx "MSG 1031 0 0" "$out"
check "cut: batch went on" has "$out" "STATUS 1 0"
check "cut: result 0" has "$out" "RESULT 0"
kept=$(stat -c %s "$work/cut/partial.bin" 2>/dev/null || echo 0)
check "cut: partial file kept ($kept bytes)" test "$kept" -gt 0 -a "$kept" -le 100000
download_run cut messages "$base/files/partial.bin" 400000 -
check "cut: resumed later" grep -qx "MSG 1027 $kept 0" "$out"
check "cut: complete after resume" cmp -s "$work/srv/partial.bin" "$work/cut/partial.bin"

# 5. A URL that cannot be opened (nothing listens there) stops the batch.
download_run refused messages "http://127.0.0.1:1/files/other.bin" 70000 - "$base/files/other.bin" 70000 -
out="$work/refused.out"
check "refused: start failure for item 0" grep -qx "MSG 1029 0 0" "$out"
check "refused: result 2" has "$out" "RESULT 2"
check "refused: later item Pending" has "$out" "STATUS 1 4"
check "refused: no all-done" test "$(grep -c '^MSG 1035' "$out")" = 0

# 6. A silent batch: nothing posted; result 5 when it stopped early, 0 otherwise.
download_run silent silent "$base/files/other.bin" 70000 - "$base/files/missing.bin" 1 -
check "silent: result 0" has "$work/silent.out" "RESULT 0"
check "silent: no messages" test "$(grep -c '^MSG' "$work/silent.out")" = 0
check "silent: statuses" test "$(grep '^STATUS' "$work/silent.out" | tr '\n' ' ')" = "STATUS 0 0 STATUS 1 1 "
download_run silent2 silent "http://127.0.0.1:1/x/other.bin" 1 -
check "silent: stopped batch gives 5" has "$work/silent2.out" "RESULT 5"

# 7. SHA-256: a matching file is Ok; a tampered one is deleted and fails.
good=$(sha256sum "$work/srv/other.bin" | cut -d' ' -f1)
bad=$(sha256sum "$work/srv/missing.bin" | cut -d' ' -f1)
download_run hash messages "$base/files/other.bin" 70000 "$good"
check "hash: matching file Ok" has "$work/hash.out" "STATUS 0 0"
download_run hashbad messages "$base/files/other.bin" 70000 "$bad"
check "hash: mismatch fails" has "$work/hashbad.out" "STATUS 0 1"
check "hash: mismatch reported as a corrupt file" grep -qx "MSG 1034 70000 0" "$work/hashbad.out"
check "hash: mismatching file deleted" test ! -e "$work/hashbad/other.bin"

# 8. A URL without a file name fails to save and the batch goes on.
download_run noname messages "$base/files/" 1 - "$base/files/other.bin" 70000 -
check "noname: save failure" grep -qx "MSG 1030 0 0" "$work/noname.out"
check "noname: next item Ok" has "$work/noname.out" "STATUS 1 0"

# 9. A batch destroyed while its worker waits on a server that sends nothing more (after the
#    headers and some bytes, or before any answer) ends without waiting for the server; the
#    partial file stays. Under `timeout`: the server holds the connection for minutes.
download_destroy() { # case url
  mkdir -p "$work/$1"
  timeout 60 wine "$run" destroy "$(winpath "$work/$1")" "$2" 400000 - 2>/dev/null | tr -d '\r' \
    >"$work/$1.out"
}
download_destroy stalled "$base/stall=100000/partial.bin"
check "stalled: batch destroyed" has "$work/stalled.out" "DESTROYED"
check "stalled: aborted, not failed" grep -qx "MSG 1032 0 0" "$work/stalled.out"
kept=$(stat -c %s "$work/stalled/partial.bin" 2>/dev/null || echo 0)
check "stalled: partial file kept ($kept bytes)" test "$kept" -gt 0 -a "$kept" -le 100000
download_destroy silent_server "$base/hold=30/partial.bin"
check "no answer: batch destroyed" has "$work/silent_server.out" "DESTROYED"
check "no answer: aborted" grep -qx "MSG 1032 0 0" "$work/silent_server.out"

# 10. Nothing fetched above was kept a second time in WinINet's cache in the user's profile.
cached=$(find "$WINEPREFIX/drive_c/users" -path '*INetCache*' -type f ! -name index.dat | wc -l)
check "cache: no second copy in the profile's cache ($cached files)" test "$cached" -eq 0

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
