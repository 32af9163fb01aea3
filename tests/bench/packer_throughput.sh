#!/usr/bin/env bash
# Packing speed of the host tessara-pack against a plain concatenation (cat) of the same
# bytes, measured in the same run. Prints the ratio: packer time / cat time. Every timed run
# must succeed and its output is checked, so a failing packer cannot look fast.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=${TESSARA_NATIVE_BUILD:-$root/build/native}/packer/tessara-pack
STUB=${TESSARA_WIN_BUILD:-$root/build/windows}/app/tessara-stub.exe
[ -x "$NATIVE" ] || { echo "not built: $NATIVE" >&2; exit 1; }
[ -f "$STUB" ] || { echo "not built: $STUB" >&2; exit 1; }
. "$root/tests/support/inputs.sh"
work=${TESSARA_TEST_ROOT:-$root/build/test-run}/packer_bench
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
size_mb=${1:-256}
cp "$STUB" "$work/stub.exe"
fake_msi "$work/app.msi" $((size_mb * 1024 * 1024))
fake_cab "$work/app.cab" $((size_mb * 1024 * 256))
stub_size=$(stat -c %s "$work/stub.exe")

best() { # runs "$@" three times, checking each run; prints the fastest wall time in seconds
  local fastest="" start end
  for _ in 1 2 3; do
    rm -f "$work/cat.exe" "$work/setup.exe"
    start=$(date +%s.%N)
    "$@" >/dev/null || { echo "failed: $*" >&2; return 1; }
    end=$(date +%s.%N)
    check_"$1" || return 1
    fastest=$(python3 -c "t=$end-$start; f='$fastest'; print(min(t, float(f)) if f else t)")
  done
  echo "$fastest"
}
concat() { cat "$work/stub.exe" "$work/app.msi" "$work/app.cab" >"$work/cat.exe"; }
pack() { "$NATIVE" pack --stub "$work/stub.exe" --msi "$work/app.msi" --cab "$work/app.cab" -o "$work/setup.exe"; }
check_concat() {
  [ "$(stat -c %s "$work/cat.exe")" -eq $((stub_size + size_mb * 1024 * 1280)) ] ||
    { echo "cat wrote a wrong size" >&2; return 1; }
}
# The setup reads back, through the setup's own reader, as the two inputs behind the stub.
check_pack() {
  rm -rf "$work/check"
  "$NATIVE" extract "$work/setup.exe" "$work/check" >/dev/null || { echo "the setup does not read back" >&2; return 1; }
  cmp -s "$work/app.msi" "$work/check/app.msi" && cmp -s "$work/app.cab" "$work/check/app.cab" ||
    { echo "the setup's entries differ from the inputs" >&2; return 1; }
  cmp -s -n "$stub_size" "$work/stub.exe" "$work/setup.exe" ||
    { echo "the setup does not start with the stub" >&2; return 1; }
  rm -rf "$work/check"
}

base=$(best concat)
packed=$(best pack)
python3 -c "print('packing %d MiB: cat %.3f s, tessara-pack %.3f s, ratio %.2f' % ($size_mb * 5 // 4, $base, $packed, $packed / $base))"
