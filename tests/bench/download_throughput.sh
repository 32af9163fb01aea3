#!/usr/bin/env bash
# Download throughput of the silent engine under Wine (real WinINet) against, in the same run
# and from the same local server: curl, and plain WinINet loops of the benchmark program: 1 MiB
# reads with WinINet's cache write as the engine once had it; 1 MiB reads without it, as the
# engine opens its URLs now, flushed to the disk once at the end as the engine does before it
# calls a file complete (the baseline the engine is held to); and, once per call, 8 KB reads
# with a flush after each, as the engine did first. The same over HTTPS from the same server's
# TLS port, with a test authority that curl is given and that is trusted in the benchmark's own
# prefix: curl, the flushed plain loop, the engine. The engine and its baseline take turns at
# going first. Each figure is the median of several rounds (the loopback figures vary a lot
# between runs on a shared machine). The engine/curl ratio over HTTP is printed last.
# Usage: download_throughput.sh [size in MiB, default 128] [rounds, default 5]
set -u
. "$(dirname "$0")/../support/wine-env.sh"
mib=${1:-128}
rounds=${2:-5}
name=download_throughput
work="$TESSARA_TEST_ROOT/$name"
bench="$TESSARA_WIN_BUILD/tests/download_bench.exe"
for tool in python3 wine curl openssl; do
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
tess_make_test_ca "$work/ca" || exit 1
tess_start_http_server "$work/srv" "$work" 1800 --tls "good=$work/ca/good.pem" || exit 1
wine "$TESSARA_WIN_BUILD/tests/trust_root.exe" "$(winpath "$work/ca/ca.der")" >/dev/null || exit 1
plain_url="$base/files/big.bin"
secure_url="https://localhost:$(tls_port good)/files/big.bin"
url=$plain_url
wine cmd.exe /c exit >/dev/null 2>&1 # prefix services up before timing anything
ms() { echo $(($(date +%s%N) / 1000000)); }

fetched() { # checks and removes the fetched copy
  cmp -s "$work/srv/big.bin" "$work/out/big.bin" || { echo "$1: file differs" >&2; return 1; }
  rm -f "$work/out/big.bin"
}

curl_once() {
  local t0
  t0=$(ms)
  curl -s --cacert "$work/ca/ca.crt" -o "$work/out/big.bin" "$url" || { echo "curl failed" >&2; return 1; }
  echo $(($(ms) - t0))
  fetched curl
}

loop_ms() { # chunk KiB, flush|noflush [nocachewrite]
  local out
  out=$(wine "$bench" loop "$1" "$2" "$(winpath "$work/out/big.bin")" "$url" ${3:+"$3"} |
    tr -d '\r')
  fetched "loop $*" || return 1
  awk '/^MS /{ printf "%d", $2 }' <<<"$out"
}

engine_ms() {
  local out
  out=$(wine "$bench" silent "$(winpath "$work/out")" "$url" "$size" | tr -d '\r')
  grep -q '^RESULT 0$' <<<"$out" || { echo "engine run failed: $out" >&2; return 1; }
  fetched engine || return 1
  awk '/^MS /{ printf "%d", $2 }' <<<"$out"
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
  print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The engine and its baseline in turn, the first of them alternating between rounds.
pair() { # round; appends to plain and engine of the current url
  local first=$1 p e
  if [ $((first % 2)) -eq 0 ]; then
    p=$(loop_ms 1024 flushend nocachewrite) || return 1
    e=$(engine_ms) || return 1
  else
    e=$(engine_ms) || return 1
    p=$(loop_ms 1024 flushend nocachewrite) || return 1
  fi
  echo "$p $e"
}
curls=() caches=() plains=() engines=() scurls=() splains=() sengines=()
for round in $(seq "$rounds"); do
  url=$plain_url
  v=$(curl_once) || exit 1
  curls+=("$v")
  v=$(loop_ms 1024 noflush) || exit 1
  caches+=("$v")
  read -r p e <<<"$(pair "$round")" && [ -n "$e" ] || exit 1
  plains+=("$p") engines+=("$e")
  url=$secure_url
  v=$(curl_once) || exit 1
  scurls+=("$v")
  read -r p e <<<"$(pair "$round")" && [ -n "$e" ] || exit 1
  splains+=("$p") sengines+=("$e")
done
url=$plain_url
# Last: its flushes leave the disk busy for whatever follows.
small_ms=$(loop_ms 8 flush) || exit 1
c=$(median "${curls[@]}") k=$(median "${caches[@]}") l=$(median "${plains[@]}")
e=$(median "${engines[@]}")
sc=$(median "${scurls[@]}") sl=$(median "${splains[@]}") se=$(median "${sengines[@]}")

awk -v mib="$mib" -v n="$rounds" -v c="$c" -v s="$small_ms" -v k="$k" -v l="$l" -v e="$e" \
  -v sc="$sc" -v sl="$sl" -v se="$se" \
  -v all="curl ${curls[*]}; loop ${caches[*]}; loop, no cache write, flushed ${plains[*]}; engine ${engines[*]}; https: curl ${scurls[*]}; loop ${splains[*]}; engine ${sengines[*]}" 'BEGIN {
  printf "file: %d MiB, medians of %d rounds (ms: %s)\n", mib, n, all
  printf "curl:                                    %6d ms  %8.1f MiB/s\n", c, mib * 1000 / c
  printf "plain loop, 8 KB + flush/read (once):    %6d ms  %8.1f MiB/s\n", s, mib * 1000 / s
  printf "plain loop, 1 MiB, cache write:          %6d ms  %8.1f MiB/s\n", k, mib * 1000 / k
  printf "plain loop, 1 MiB, no cache, flushed:    %6d ms  %8.1f MiB/s\n", l, mib * 1000 / l
  printf "engine (silent):                         %6d ms  %8.1f MiB/s\n", e, mib * 1000 / e
  printf "https curl:                              %6d ms  %8.1f MiB/s\n", sc, mib * 1000 / sc
  printf "https plain loop, 1 MiB, flushed:        %6d ms  %8.1f MiB/s\n", sl, mib * 1000 / sl
  printf "https engine (silent):                   %6d ms  %8.1f MiB/s\n", se, mib * 1000 / se
  printf "ratio https engine/plain loop (1 MiB, no cache write, flushed): %.3f\n", sl / se
  printf "ratio https engine/curl: %.3f\n", sc / se
  printf "ratio plain loop (1 MiB, no cache write, flushed)/curl: %.3f\n", c / l
  printf "ratio engine/plain loop (1 MiB, cache write): %.3f\n", k / e
  printf "ratio engine/plain loop (1 MiB, no cache write, flushed): %.3f\n", l / e
  printf "ratio engine/curl: %.3f\n", c / e
}'
