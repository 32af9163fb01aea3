#!/usr/bin/env bash
# Benchmark: load and decide a configuration of 1,000 prerequisites. Natively with our reader,
# and under Wine with our reader against GetPrivateProfileStringA per key in the same run; the
# ratio is platform time / our time (best of ROUNDS runs each).
set -u
. "$(dirname "$0")/../support/wine-env.sh"
count=${1:-1000}
rounds=${2:-10}
native=$TESSARA_NATIVE_BUILD/tests/detect_bench_native
windows=$TESSARA_WIN_BUILD/tests/detect_bench.exe
for file in "$native" "$windows"; do
  [ -f "$file" ] || { echo "missing $file (build both presets)" >&2; exit 1; }
done
work=$TESSARA_TEST_ROOT/config_bench
rm -rf "$work"
mkdir -p "$work"
ini=$work/bench.ini

{
  echo "[PREREQUISITES]"
  for ((i = 1; i <= count; i++)); do echo "App$i=Prerequisite number $i"; done
  for ((i = 1; i <= count; i++)); do
    printf '[App%d]\r\nSetupFile=setup%d.exe\r\nCommandLine=/quiet /norestart\r\nOptions=m\r\n' "$i" "$i"
    printf 'SearchType=1\r\nSearchString=HKLM\\SOFTWARE\\Vendor %d\\Product\r\nVerMin=1.%d\r\nVerMax=2.0\r\n' "$i" "$i"
  done
  printf '[GeneralOptions]\r\nMainAppCmdLine=/qb\r\nOptions=q\r\n'
} >"$ini"

echo "configuration: $count prerequisites, $(wc -c <"$ini") bytes"
native_out=$("$native" "$ini" "$rounds") || { echo "the native benchmark failed" >&2; exit 1; }
echo "native:  $native_out"
# A figure counts only when every prerequisite was loaded and decided.
loaded_all() { # output, label
  local n
  for n in $(echo "$1" | sed -n 's/.*prerequisites=\([0-9]*\).*/\1/p'); do
    [ "$n" = "$count" ] || { echo "$2 loaded $n of $count prerequisites" >&2; return 1; }
  done
  [ -n "$n" ] || { echo "$2 printed no count of prerequisites" >&2; return 1; }
}
loaded_all "$native_out" native || exit 1

tess_display || exit 1
trap '[ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null' EXIT
tess_new_prefix "$work/prefix" || exit 1
wine_out=$(set -o pipefail; TESS_RUN_LIMIT=600 tess_expect_exit 0 wine "$windows" "Z:${ini//\//\\}" \
  "$rounds" | tr -d '\r') || exit 1
wineserver -k 2>/dev/null
echo "wine:    $(echo "$wine_out" | tr '\n' ' ')"
[ "$(echo "$wine_out" | grep -c 'prerequisites=')" = 2 ] || { echo "under Wine: a figure is missing" >&2; exit 1; }
loaded_all "$wine_out" "under Wine" || exit 1

ours=$(echo "$wine_out" | sed -n 's/^ours_us=\([0-9]*\).*/\1/p')
platform=$(echo "$wine_out" | sed -n 's/^platform_us=\([0-9]*\).*/\1/p')
native_us=$(echo "$native_out" | sed -n 's/^ours_us=\([0-9]*\).*/\1/p')
[ -n "$ours" ] && [ -n "$platform" ] && [ -n "$native_us" ] || { echo "no figures" >&2; exit 1; }
awk -v n="$native_us" -v o="$ours" -v p="$platform" 'BEGIN {
  printf "native load+decide: %.2f ms\n", n / 1000
  printf "under Wine: ours %.2f ms, GetPrivateProfileStringA per key %.2f ms, ratio %.1fx\n",
         o / 1000, p / 1000, (o > 0 ? p / o : 0)
}'
