#!/usr/bin/env bash
# Download throughput of the silent engine under Wine (real WinINet) against, in the same run
# and from the same local server: curl, and two plain WinINet loops of the benchmark program
# (8 KB reads with a flush after each, as the engine once did; 1 MiB reads without flushing,
# about the most the platform gives). The engine/curl ratio is printed last.
# Usage: download_throughput.sh [size in MiB, default 128]
set -u
. "$(dirname "$0")/../support/wine-env.sh"
mib=${1:-128}
name=download_throughput
work="$TESSARA_TEST_ROOT/$name"
bench="$TESSARA_WIN_BUILD/tests/download_bench.exe"
for tool in python3 wine curl; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
[ -f "$bench" ] || { echo "missing $bench"; exit 1; }
rm -rf "$work"
mkdir -p "$work/srv" "$work/out"
tess_new_prefix "$work/prefix" || exit 1
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  rm -rf "$work/srv" "$work/out"
}
trap cleanup EXIT
head -c $((mib * 1048576)) /dev/urandom >"$work/srv/big.bin"
size=$(stat -c %s "$work/srv/big.bin")
. "$(dirname "$0")/../support/http-server.sh"
tess_start_http_server "$work/srv" "$work" 1800 || exit 1
url="$base/files/big.bin"
wine cmd.exe /c exit >/dev/null 2>&1 # prefix services up before timing anything
ms() { echo $(($(date +%s%N) / 1000000)); }

fetched() { # checks and removes the fetched copy
  cmp -s "$work/srv/big.bin" "$work/out/big.bin" || { echo "$1: file differs" >&2; return 1; }
  rm -f "$work/out/big.bin"
}

t0=$(ms)
curl -s -o "$work/out/big.bin" "$url" || { echo "curl failed"; exit 1; }
curl_ms=$(($(ms) - t0))
fetched curl || exit 1

loop_ms() { # chunk KiB, flush|noflush
  local out
  out=$(wine "$bench" loop "$1" "$2" "$(winpath "$work/out/big.bin")" "$url" | tr -d '\r')
  fetched "loop $1 KiB $2" || return 1
  awk '/^MS /{ printf "%d", $2 }' <<<"$out"
}
large_ms=$(loop_ms 1024 noflush) || exit 1

out=$(wine "$bench" silent "$(winpath "$work/out")" "$url" "$size" | tr -d '\r')
grep -q '^RESULT 0$' <<<"$out" || { echo "engine run failed: $out"; exit 1; }
fetched engine || exit 1
engine_ms=$(awk '/^MS /{ printf "%d", $2 }' <<<"$out")
# Last: its flushes leave the disk busy for whatever follows.
small_ms=$(loop_ms 8 flush) || exit 1

awk -v mib="$mib" -v c="$curl_ms" -v s="$small_ms" -v l="$large_ms" -v e="$engine_ms" 'BEGIN {
  printf "file: %d MiB\n", mib
  printf "curl:                          %6d ms  %8.1f MiB/s\n", c, mib * 1000 / c
  printf "plain loop, 8 KB + flush/read: %6d ms  %8.1f MiB/s\n", s, mib * 1000 / s
  printf "plain loop, 1 MiB, no flush:   %6d ms  %8.1f MiB/s\n", l, mib * 1000 / l
  printf "engine (silent):               %6d ms  %8.1f MiB/s\n", e, mib * 1000 / e
  printf "ratio engine/plain loop (1 MiB): %.3f\n", l / e
  printf "ratio engine/curl: %.3f\n", c / e
}'
