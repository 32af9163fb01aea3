#!/usr/bin/env bash
# How long one Pause takes to hold the download worker under Wine with real WinINet: from
# control(0) to the last chunk the worker still writes (it finishes the read in progress),
# against the mean time between two chunks measured in the same run.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
name=download_pause
work="$TESSARA_TEST_ROOT/$name"
bench="$TESSARA_WIN_BUILD/tests/download_bench.exe"
for tool in python3 wine; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
[ -f "$bench" ] || { echo "missing $bench"; exit 1; }
rm -rf "$work"
mkdir -p "$work/srv" "$work/dl"
tess_new_prefix "$work/prefix" || exit 1
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
python3 "$(dirname "$0")/../support/http_server.py" --root "$work/srv" --port-file "$work/port" \
  --lifetime 600 >/dev/null &
server_pid=$!
head -c 20000000 /dev/urandom >"$work/srv/big.bin"
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
# A throttled server (2 MB/s) so that the download outlasts the pauses.
url="http://127.0.0.1:$(cat "$work/port")/rate=2000000/big.bin"
wine cmd.exe /c exit >/dev/null 2>&1
out=$(wine "$bench" pause "Z:${work//\//\\}\\dl" "$url" 20000000 9 | tr -d '\r')
echo "$out"
awk '/^HOLD_MS/{ h = $2 } /^CHUNK_MS/{ c = $2 } END {
  if (c <= 0) { print "no chunks measured"; exit 1 }
  printf "pause hold / chunk interval: %.2f\n", h / c }' <<<"$out"
