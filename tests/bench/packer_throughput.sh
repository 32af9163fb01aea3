#!/usr/bin/env bash
# Packing speed of the host tessara-pack against a plain concatenation (cat) of the same
# bytes, measured in the same run. Prints the ratio: packer time / cat time.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=${TESSARA_NATIVE_BUILD:-$root/build/native}/tools/tessara-pack
STUB=${TESSARA_WIN_BUILD:-$root/build/windows}/app/tessara-stub.exe
[ -x "$NATIVE" ] || { echo "not built: $NATIVE" >&2; exit 1; }
[ -f "$STUB" ] || { echo "not built: $STUB" >&2; exit 1; }
. "$root/tests/support/inputs.sh"
work=${TESSARA_TEST_ROOT:-$root/build/test-run}/packer_bench
rm -rf "$work"
mkdir -p "$work"
size_mb=${1:-256}
cp "$STUB" "$work/stub.exe"
fake_msi "$work/app.msi" $((size_mb * 1024 * 1024))
fake_cab "$work/app.cab" $((size_mb * 1024 * 256))

best() { # runs "$@" three times, prints the fastest wall time in seconds
  local fastest=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    fastest=$(python3 -c "t=$end-$start; f='$fastest'; print(min(t, float(f)) if f else t)")
  done
  echo "$fastest"
}
concat() { cat "$work/stub.exe" "$work/app.msi" "$work/app.cab" >"$work/cat.exe"; }
pack() { "$NATIVE" pack --stub "$work/stub.exe" --msi "$work/app.msi" --cab "$work/app.cab" -o "$work/setup.exe"; }

base=$(best concat)
packed=$(best pack)
python3 -c "print('packing %d MiB: cat %.3f s, tessara-pack %.3f s, ratio %.2f' % ($size_mb * 5 // 4, $base, $packed, $packed / $base))"
rm -rf "$work"
