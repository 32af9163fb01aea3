#!/usr/bin/env bash
# Takes the README's screenshots of the prerequisites wizard under Wine: packs the worked
# example of the vendor's guide (a carried and a downloaded prerequisite, each a Windows
# Installer package in a setup of its own), runs it as a user does, and writes each page to
# docs/wizard-<page>.png. Needs both presets built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export TESSARA_ROOT=$root TESSARA_TEST_ROOT=$root/build/screenshots
. "$root/tests/support/setup-e2e.sh"
. "$root/tests/support/http-server.sh"
tess_scratch shots
tess_display || fail "no X display"
need_tools wixl import convert
build_sample_msi
build_runtime_msi
mkdir -p "$SCRATCH/helper" "$SCRATCH/srv"
sed -e 's/Tessara Runtime/Tessara Helper/g' -e 's/3A0C5E1D-7F42-4B8A-A1D3-5C6E7F809A12/4B1D6F2E-8053-4C9B-B2E4-6D7F8091AB23/' \
  -e 's/8C1D2E3F-4A5B-4C6D-8E7F-9A0B1C2D3E4F/9D2E3F40-5B6C-4D7E-9F80-A1B2C3D4E5F6/' -e 's/runtime\./helper./g' \
  "$SCRATCH/runtime/runtime.wxs" >"$SCRATCH/helper/helper.wxs"
cp "$SCRATCH/runtime/runtime.txt" "$SCRATCH/helper/helper.txt"
(cd "$SCRATCH/helper" && wixl -o helper.msi helper.wxs)
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime/runtime.msi" --product-name "Tessara Runtime" \
  -o "$SCRATCH/runtime-setup.exe" >/dev/null
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/helper/helper.msi" --product-name "Tessara Helper" \
  -o "$SCRATCH/srv/helper-setup.exe" >/dev/null
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
tess_start_http_server "$SCRATCH/srv" "$SCRATCH"
cat >"$SCRATCH/sample.ini" <<INI
[PREREQUISITES]
App1=Tessara Runtime 2
App2=Tessara Helper

[App1]
SetupFile=runtime-setup.exe
CommandLine=/qn
SearchType=2
SearchString=HKLM\\Software\\Tessara Runtime\\Version
VerMin=2.0

[App2]
Url=$base/helper-setup.exe
ExactSize=$(stat -c %s "$SCRATCH/srv/helper-setup.exe")
$("$PACK" hash "$SCRATCH/srv/helper-setup.exe")
CommandLine=/qn
SearchType=2
SearchString=HKLM\\Software\\Tessara Helper\\Version
VerMin=2.1

[GeneralOptions]
MainAppCmdLine=/qn
INI
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" --product-name "Tessara Sample" -o "$SCRATCH/setup.exe" >/dev/null
tess_new_prefix "$SCRATCH/prefix"
mkdir -p "$(drive_c)/Downloads"
cp "$SCRATCH/setup.exe" "$(drive_c)/Downloads/setup.exe"
cp "$TESSARA_WIN_BUILD/tests/wizard_steps.exe" "$(drive_c)/"
start_line_code 'C:\Downloads\setup.exe'
run_wizard_steps 120 /dev/stdout \
  shot:information next shot:prerequisites next "wait:Please press the Next button to install" \
  shot:downloaded next installed shot:installed finish
code=$(wait_line_code)
[ "$code" = 0 ] || fail "the setup ended with $code"
for page in information prerequisites downloaded installed; do
  convert "$SCRATCH/shots/$page.png" +dither -colors 32 "PNG8:$root/docs/wizard-$page.png"
  echo "docs/wizard-$page.png: $(stat -c %s "$root/docs/wizard-$page.png") bytes"
done
rm -rf "$SCRATCH/prefix"
