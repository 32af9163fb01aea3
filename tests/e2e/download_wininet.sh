#!/usr/bin/env bash
# The download engine with real WinINet under Wine against the project's test servers: resume,
# wrong and missing lengths, a URL that cannot be opened, a silent batch, the SHA-256 check, a
# batch destroyed while a silent server holds its worker, no copy left in WinINet's cache;
# HTTPS with a test authority trusted in this prefix alone (resume, and a certificate that is
# untrusted, for another host or expired, a redirect from https to http: each refused with
# nothing saved; http to https followed); connections dropped, reset, stalled and answered 503
# tried again and resumed, a 404 not; and a real proxy (tinyproxy) for http and https, one that
# wants credentials refusing a batch that has no window to ask them from.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
name=download_wininet
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/download_run.exe"
for tool in python3 wine cmp sha256sum openssl tinyproxy; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
[ -f "$run" ] || { echo "missing $run"; exit 1; }
rm -rf "$work"
mkdir -p "$work/srv"
tess_new_prefix "$work/prefix" || exit 1

server_pid=
proxy_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$proxy_pid" ] && kill "$proxy_pid" 2>/dev/null
  wineserver -k 2>/dev/null
}
trap cleanup EXIT
. "$(dirname "$0")/../support/http-server.sh"
tess_make_test_ca "$work/ca" || { echo "the test authority could not be made"; exit 1; }
tess_start_http_server "$work/srv" "$work" 600 --tls "good=$work/ca/good.pem" \
  --tls "host=$work/ca/host.pem" --tls "expired=$work/ca/expired.pem" \
  --tls "untrusted=$work/ca/untrusted.pem" || exit 1

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
# The resume asked for the rest of the 8 bytes there: 999 more make a file of 1007.
check "wrong: size message with the server's length" grep -qx "MSG 1034 1007 0" "$out"
check "wrong: first Failed, second Ok" has "$out" "STATUS 0 1"
check "wrong: second Ok" has "$out" "STATUS 1 0"
check "wrong: local file untouched" test "$(cat "$work/wrong/other.bin")" = "keep me"
check "wrong: next item started" grep -qx "MSG 1026 1 0" "$out"

# 3. No Content-Length: fetched whatever its size.
download_run nolength messages "$base/nolength/other.bin" 0 -
check "nolength: Ok" has "$work/nolength.out" "STATUS 0 0"
check "nolength: whole file" cmp -s "$work/srv/other.bin" "$work/nolength/other.bin"

# 4. The connection cut mid-file, twice: each try again resumes where the file ends, and the
#    file is whole in the end.
download_run cut messages "$base/times=2/cut=100000/partial.bin" 400000 - "$base/files/other.bin" 70000 -
out="$work/cut.out"
check "cut: both Ok" test "$(grep '^STATUS' "$out" | tr '\n' ' ')" = "STATUS 0 0 STATUS 1 0 "
check "cut: tried again after 1 s and 2 s" test "$(grep '^MSG 1033' "$out" | tr '\n' ' ')" = "MSG 1033 1 0 MSG 1033 2 0 "
check "cut: complete" cmp -s "$work/srv/partial.bin" "$work/cut/partial.bin"
check "cut: the tries again asked for the rest" \
  test "$(grep -c '^/times=2/cut=100000/partial.bin range=bytes=[1-9][0-9]*- ' "$work/requests.log")" -eq 2

# 5. A URL that cannot be opened (nothing listens there) is tried again, then fails alone.
download_run refused messages "http://127.0.0.1:1/files/other.bin" 70000 - "$base/files/other.bin" 70000 -
out="$work/refused.out"
check "refused: read failure for item 0 after three tries again" \
  test "$(grep -c '^MSG 1033 [124] 0$' "$out")" -eq 3 -a "$(grep -c '^MSG 1031 0 0$' "$out")" -eq 1
check "refused: WinINet's error named" grep -qx "PROBLEM 0 12029 no connection" "$out"
check "refused: the batch went on" has "$out" "STATUS 1 0"
check "refused: result 0" has "$out" "RESULT 0"

# 6. A silent batch: nothing posted; result 5 when it stopped early, 0 otherwise.
download_run silent silent "$base/files/other.bin" 70000 - "$base/files/missing.bin" 1 -
check "silent: result 0" has "$work/silent.out" "RESULT 0"
check "silent: no messages" test "$(grep -c '^MSG' "$work/silent.out")" = 0
check "silent: statuses" test "$(grep '^STATUS' "$work/silent.out" | tr '\n' ' ')" = "STATUS 0 0 STATUS 1 1 "
download_run silent2 silent "$base/files/other.bin" 70000 -
check "silent: a file already there is not fetched again" has "$work/silent2.out" "RESULT 0"

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
# Destroyed two seconds in, while it waits to try a refused address again (pauses of 1, 2, 4 s).
started=$(date +%s%N)
download_destroy pausing "http://127.0.0.1:1/files/partial.bin"
took=$((($(date +%s%N) - started) / 1000000))
check "pause: cancelled while waiting to try again ($took ms)" grep -qx "MSG 1032 0 0" "$work/pausing.out"
check "pause: no third try" test "$(grep -c '^MSG 1033' "$work/pausing.out")" -le 2

# 10. Nothing fetched above was kept a second time in WinINet's cache in the user's profile.
cached=$(find "$WINEPREFIX/drive_c/users" -path '*INetCache*' -type f ! -name index.dat | wc -l)
check "cache: no second copy in the profile's cache ($cached files)" test "$cached" -eq 0

# 11. HTTPS: before the authority is trusted, nothing comes; then a partial file resumes over
#     TLS, http is followed to https, and each refusal saves nothing.
good=https://localhost:$(tls_port good)
download_run distrust silent "$good/files/other.bin" 70000 -
check "https: an untrusted authority refused" grep -qx "PROBLEM 0 12057 untrusted certificate" "$work/distrust.out"
check "https: nothing saved" test ! -e "$work/distrust/other.bin"
tess_expect_exit 0 wine "$TESSARA_WIN_BUILD/tests/trust_root.exe" "$(winpath "$work/ca/ca.der")" >/dev/null ||
  { echo "FAIL the test authority was not trusted in the prefix"; exit 1; }
mkdir -p "$work/https"
head -c 150000 "$work/srv/partial.bin" >"$work/https/partial.bin"
download_run https messages "$good/files/partial.bin" 400000 - \
  "https://localhost:$(tls_port host)/files/missing.bin" 250000 - \
  "https://localhost:$(tls_port expired)/files/missing.bin" 250000 - \
  "https://localhost:$(tls_port untrusted)/files/missing.bin" 250000 - \
  "$good/to=http:${base##*:}/files/complete.bin" 300000 - \
  "$base/to=https:$(tls_port good)/to=here/files/other.bin" 70000 -
out="$work/https.out"
check "https: resumed over TLS" grep -qx "MSG 1027 150000 0" "$out"
check "https: resumed file complete" cmp -s "$work/srv/partial.bin" "$work/https/partial.bin"
check "https: another host's certificate refused" grep -qx "PROBLEM 1 12038 certificate of another host" "$out"
check "https: an expired certificate refused" grep -qx "PROBLEM 2 12037 expired certificate" "$out"
check "https: another authority refused" grep -qx "PROBLEM 3 12057 untrusted certificate" "$out"
check "https: the redirect to http refused" grep -qx "PROBLEM 4 302 redirect to http" "$out"
check "https: never asked over http" test "$(grep -c '^/files/complete.bin ' "$work/requests.log")" -eq 0
check "https: http redirected to https, then to a path on that server, followed" has "$out" "STATUS 5 0"
check "https: refused ones tried once, nothing saved" \
  test "$(grep -c '^MSG 1033' "$out")" -eq 0 -a ! -e "$work/https/missing.bin" -a ! -e "$work/https/complete.bin"

# 12. A server that resets, stalls (given up after 30 s) and answers 503 is tried again; a 404
#     is not.
download_run faults messages "$base/times=1/reset/other.bin" 70000 - \
  "$base/times=1/stall=100000/missing.bin" 250000 - "$base/times=1/status=503/complete.bin" 300000 - \
  "$base/status=404/gone.bin" 70000 -
out="$work/faults.out"
check "faults: reset, stall and 503 tried again, complete" \
  test "$(grep '^STATUS' "$out" | tr '\n' ' ')" = "STATUS 0 0 STATUS 1 0 STATUS 2 0 STATUS 3 2 "
check "faults: the stalled file resumed" grep -q '^/times=1/stall=100000/missing.bin range=bytes=[1-9]' "$work/requests.log"
check "faults: files whole" cmp -s "$work/srv/missing.bin" "$work/faults/missing.bin"
check "faults: 404 asked once" test "$(grep -c '^/status=404/gone.bin ' "$work/requests.log")" -eq 1
check "faults: 404 named" grep -qx "PROBLEM 3 404 HTTP status" "$out"

# 13. Through a proxy, as the system's settings say: plain http and https through CONNECT;
#     a proxy that wants credentials fails a batch that has no window to ask from.
mkdir -p "$work/proxy" "$work/proxy-auth"
tess_start_proxy "$work/proxy" || { echo "FAIL tinyproxy did not start"; exit 1; }
tess_use_proxy "$proxy_port"
download_run proxied silent "$base/files/other.bin" 70000 - "$good/files/complete.bin" 300000 -
check "proxy: both fetched" test "$(grep '^STATUS' "$work/proxied.out" | tr '\n' ' ')" = "STATUS 0 0 STATUS 1 0 "
check "proxy: http through the proxy" grep -q "Request .*: GET $base/files/other.bin" "$work/proxy/tinyproxy.log"
check "proxy: https through CONNECT" grep -q "Request .*: CONNECT localhost:$(tls_port good)" "$work/proxy/tinyproxy.log"
kill "$proxy_pid"
tess_start_proxy "$work/proxy-auth" "tessara s3cret" || { echo "FAIL tinyproxy did not start"; exit 1; }
tess_use_proxy "$proxy_port"
download_run proxyauth silent "$base/files/missing.bin" 250000 -
check "proxy: 407 named" grep -qx "PROBLEM 0 407 no proxy credentials" "$work/proxyauth.out"
check "proxy: nothing saved" test ! -e "$work/proxyauth/missing.bin"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
