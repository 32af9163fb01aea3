#!/usr/bin/env bash
# Download throughput of the silent engine under Wine (real WinINet, 8 KB chunks, one flush per
# chunk) against curl fetching the same file from the same local server in the same run, and
# the cost of the per-chunk flush (the same engine with the flush switched off).
# Usage: download_throughput.sh [size in MiB, default 256]
set -u
. "$(dirname "$0")/../support/wine-env.sh"
mib=${1:-256}
name=download_throughput
work="$TESSARA_TEST_ROOT/$name"
bench="$TESSARA_WIN_BUILD/tests/download_bench.exe"
for tool in python3 wine curl; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
[ -f "$bench" ] || { echo "missing $bench"; exit 1; }
rm -rf "$work"
mkdir -p "$work/srv" "$work/curl" "$work/flush" "$work/noflush"
tess_new_prefix "$work/prefix" || exit 1
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  rm -rf "$work/srv" "$work/curl" "$work/flush" "$work/noflush"
}
trap cleanup EXIT
head -c $((mib * 1048576)) /dev/urandom >"$work/srv/big.bin"
size=$(stat -c %s "$work/srv/big.bin")
. "$(dirname "$0")/../support/http-server.sh"
tess_start_http_server "$work/srv" "$work" 1800 || exit 1
url="$base/files/big.bin"
wine cmd.exe /c exit >/dev/null 2>&1 # prefix services up before timing anything
ms() { echo $(($(date +%s%N) / 1000000)); }

t0=$(ms)
curl -s -o "$work/curl/big.bin" "$url" || { echo "curl failed"; exit 1; }
curl_ms=$(($(ms) - t0))
[ "$(stat -c %s "$work/curl/big.bin")" = "$size" ] || { echo "curl fetched a wrong size"; exit 1; }
rm -f "$work/curl/big.bin"

engine_ms() { # flush|noflush
  local out
  out=$(wine "$bench" silent "$1" "$(winpath "$work/$1")" "$url" "$size" | tr -d '\r')
  grep -q '^RESULT 0$' <<<"$out" || { echo "engine run ($1) failed: $out" >&2; return 1; }
  cmp -s "$work/srv/big.bin" "$work/$1/big.bin" || { echo "engine ($1) file differs" >&2; return 1; }
  rm -f "$work/$1/big.bin"
  awk '/^MS /{ printf "%d", $2 }' <<<"$out"
}
flush_ms=$(engine_ms flush) || exit 1
noflush_ms=$(engine_ms noflush) || exit 1

awk -v mib="$mib" -v c="$curl_ms" -v f="$flush_ms" -v n="$noflush_ms" 'BEGIN {
  printf "file: %d MiB\n", mib
  printf "curl:                  %6d ms  %8.1f MiB/s\n", c, mib * 1000 / c
  printf "engine (flush/chunk):  %6d ms  %8.1f MiB/s\n", f, mib * 1000 / f
  printf "engine (no flush):     %6d ms  %8.1f MiB/s\n", n, mib * 1000 / n
  printf "throughput ratio engine/curl: %.3f\n", c / f
  printf "flush cost ratio (time with flush / without): %.2f\n", f / n
}'
