#!/usr/bin/env bash
# Packing the same configuration online and offline (two carried prerequisites, checked against
# ExactSize and Sha256): bytes of each setup and the best of three packing times, in one run.
# Prints the offline/online ratios last.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=${TESSARA_NATIVE_BUILD:-$root/build/native}/packer/tessara-pack
STUB=${TESSARA_WIN_BUILD:-$root/build/windows}/app/tessara-stub.exe
[ -x "$NATIVE" ] || { echo "not built: $NATIVE" >&2; exit 1; }
[ -f "$STUB" ] || { echo "not built: $STUB" >&2; exit 1; }
. "$root/tests/support/inputs.sh"
work=${TESSARA_TEST_ROOT:-$root/build/test-run}/offline_bench
rm -rf "$work"
mkdir -p "$work"
size_mb=${1:-64}
fake_msi "$work/app.msi" $((size_mb * 1024 * 1024))
fake_program "$work/runtime-setup.exe" $((size_mb * 1024 * 512))
fake_program "$work/tools-setup.exe" $((size_mb * 1024 * 256))
{
  echo "[PREREQUISITES]"
  echo "App1=Runtime"
  echo "App2=Tools"
  for n in 1 2; do
    file=$([ $n = 1 ] && echo runtime-setup.exe || echo tools-setup.exe)
    echo "[App$n]"
    echo "Url=http://downloads.example/$file"
    echo "ExactSize=$(stat -c %s "$work/$file")"
    echo "Sha256=$(sha256sum <"$work/$file" | cut -d' ' -f1)"
    echo "SearchType=1"
    echo "SearchString=HKLM\\SOFTWARE\\Vendor\\App$n"
  done
} >"$work/prereqs.ini"

best() { # runs "$@" three times, prints the fastest wall time in seconds
  local fastest=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    fastest=$(python3 -c "t=$end-$start; f='$fastest'; print(min(t, float(f)) if f else t)")
  done
  echo "$fastest"
}
online() { "$NATIVE" pack --stub "$STUB" --msi "$work/app.msi" --config "$work/prereqs.ini" -o "$work/online.exe"; }
offline() {
  "$NATIVE" pack --stub "$STUB" --msi "$work/app.msi" --config "$work/prereqs.ini" \
    --carry "App1=$work/runtime-setup.exe" --carry "App2=$work/tools-setup.exe" -o "$work/offline.exe"
}
t_online=$(best online)
t_offline=$(best offline)
b_online=$(stat -c %s "$work/online.exe")
b_offline=$(stat -c %s "$work/offline.exe")
echo "online:  $b_online bytes, ${t_online}s"
echo "offline: $b_offline bytes, ${t_offline}s (carries $(( $(stat -c %s "$work/runtime-setup.exe") + $(stat -c %s "$work/tools-setup.exe") )) bytes)"
python3 -c "print('offline/online: bytes %.2f, time %.2f' % ($b_offline / $b_online, $t_offline / $t_online))"
