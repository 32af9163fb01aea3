#!/usr/bin/env bash
# How long one Pause takes to hold the download worker under Wine with real WinINet: from
# pause() to the last chunk the worker still reports (a read in progress finishes, but its
# bytes wait for Resume), against the mean time between two chunks measured in the same run.
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
head -c 20000000 /dev/urandom >"$work/srv/big.bin"
. "$(dirname "$0")/../support/http-server.sh"
tess_start_http_server "$work/srv" "$work" || exit 1
# A throttled server (2 MB/s) so that the download outlasts the pauses.
url="$base/rate=2000000/big.bin"
tess_expect_exit 0 wine cmd.exe /c exit >/dev/null 2>&1 || exit 1
out=$(set -o pipefail; TESS_RUN_LIMIT=300 tess_expect_exit 0 wine "$bench" pause \
  "Z:${work//\//\\}\\dl" "$url" 20000000 9 | tr -d '\r') || { echo "the benchmark failed: $out" >&2; exit 1; }
echo "$out"
# A missing figure is a failure, not a perfect 0.
number='[0-9]+(\.[0-9]+)?'
grep -Eqx "HOLD_MS $number" <<<"$out" || { echo "no HOLD_MS figure" >&2; exit 1; }
grep -Eqx "CHUNK_MS $number" <<<"$out" || { echo "no CHUNK_MS figure" >&2; exit 1; }
[ "$(stat -c %s "$work/dl/big.bin" 2>/dev/null || echo 0)" -gt 0 ] || { echo "nothing was downloaded" >&2; exit 1; }
awk '/^HOLD_MS/{ h = $2 } /^CHUNK_MS/{ c = $2 } END {
  if (c <= 0) { print "no chunks measured" > "/dev/stderr"; exit 1 }
  printf "pause hold / chunk interval: %.2f\n", h / c }' <<<"$out"
