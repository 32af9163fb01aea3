#!/usr/bin/env bash
# Time from the wizard's construction to its first page painted under Wine (median of 5), against
# the time a plain one-line dialog of the same program takes to paint, measured in the same
# process right after each wizard.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
. "$(dirname "$0")/../support/inputs.sh"
name=wizard_paint
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/wizard_run.exe"
pack="$TESSARA_NATIVE_BUILD/packer/tessara-pack"
for tool in wine Xvfb xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
for f in "$run" "$pack"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done
rm -rf "$work"
mkdir -p "$work"
tess_display || exit 1
tess_new_prefix "$work/prefix" || exit 1
trap 'wineserver -k 2>/dev/null; [ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null' EXIT
wine cmd.exe /c exit >/dev/null 2>&1

fake_program "$work/tool-setup.exe" 200
fake_msi "$work/package.msi" 100
cat >"$work/bench.ini" <<'INI'
[PREREQUISITES]
App1=Tool
App2=Runtime
[App1]
SetupFile=tool-setup.exe
SearchType=2
SearchString=HKLM\SOFTWARE\TessaraBench\Tool\Version
[App2]
Url=http://127.0.0.1:9/runtime.exe
SearchType=2
SearchString=HKLM\SOFTWARE\TessaraBench\Runtime\Version
INI
python3 "$(dirname "$0")/../support/gui_stub.py" "$run" "$work/wizard_run.exe" || exit 1
"$pack" pack --stub "$work/wizard_run.exe" --msi "$work/package.msi" --config "$work/bench.ini" \
  --prereq "$work/tool-setup.exe" -o "$work/setup.exe" >/dev/null || { echo "pack failed"; exit 1; }

: >"$work/times"
for i in 1 2 3 4 5; do
  line=$(timeout 120 wine "$work/setup.exe" --bench 2>/dev/null | tr -d '\r' | grep '^PAINT_MS')
  echo "run $i: $line"
  echo "$line" >>"$work/times"
done
[ "$(wc -l <"$work/times")" -eq 5 ] || { echo "expected 5 runs"; exit 1; }
wizard=$(awk '{ print $2 }' "$work/times" | sort -n | sed -n 3p)
plain=$(awk '{ print $3 }' "$work/times" | sort -n | sed -n 3p)
awk -v w="$wizard" -v p="$plain" 'BEGIN {
  if (w <= 0 || p <= 0) { print "a paint was not seen"; exit 1 }
  printf "wizard construction to first page painted, median of 5: %.1f ms\n", w
  printf "plain dialog to painted, median of 5: %.1f ms\n", p
  printf "wizard / plain dialog: %.2f\n", w / p
}'
