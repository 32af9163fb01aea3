#!/usr/bin/env bash
# Detection on a 64-bit Windows: registry views and 64-bit folders by the words naming them,
# Architectures, Windows Installer products, downloads run only when their signer matches. The
# old roots and tokens see what the build sees: the 32-bit build the 32-bit view (WOW64, not
# exercised where the x86-64 build is tested), the x86-64 build its own.
. "$(dirname "$0")/../support/setup-e2e.sh"
. "$TESSARA_ROOT/tests/support/http-server.sh"
if [ "$WINEARCH" != win64 ]; then # the 32-bit build in a 64-bit prefix of its own
  export WINEARCH=win64 TESSARA_TEST_ROOT=$TESSARA_TEST_ROOT/win64
  TESS_PREFIX_READY=.ready-nocrashdialog-win64
fi
tess_scratch detect_64bit
need_tools wine wixl osslsigncode openssl python3
tess_display || fail "no X display"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
dlls=$TESSARA_WIN_BUILD/detect
tess_new_prefix "$SCRATCH/prefix"
[ "$TESS_WIN_BITS" = 32 ] && own=32 || own=64
old() { [ $own = 64 ] && echo "$1" || echo "$2"; } # what an old root or token finds

reg() { wine reg add "$@" /f >/dev/null 2>&1 || fail "wine reg add $*"; }
reg 'HKLM\Software\Tessara Detect' /v Version /d 6.4.0 /reg:64
reg 'HKLM\Software\Tessara Detect32' /v Version /d 3.2.0 /reg:32
pf="$(drive_c)/Program Files"
mkdir -p "$pf/Tessara Detect/bin" "$pf/Common Files/Tessara Detect"
cp "$dlls/detect_v5_1_2600_0.dll" "$(drive_c)/windows/system32/tessdetect64.dll"
cp "$dlls/detect_v1_2_3_4.dll" "$pf/Tessara Detect/bin/tool.dll"
cp "$dlls/detect_v65535_0_7_65534.dll" "$pf/Common Files/Tessara Detect/common.dll"

# The probe, on prerequisites written "SearchType|SearchString|more keys", must print for each
# its found versions and action: "'1.0'=0 =1".
expect_probe() { # what, prerequisites, expected
  local n=0 type search more actual
  while IFS='|' read -r type search more; do
    n=$((n + 1))
    printf '[App%s]\nSetupFile=s\nSearchType=%s\nSearchString=%s\n%s\n' $n "$type" "$search" "$more"
  done <<<"$2" >"$SCRATCH/probe.ini"
  { echo '[PREREQUISITES]'; seq -f 'App%g=P' $n; } >>"$SCRATCH/probe.ini"
  actual=$(set -o pipefail; tess_expect_exit 0 wine "$TESSARA_WIN_BUILD/tests/detect_probe.exe" \
    "$(winpath "$SCRATCH/probe.ini")" | tr -d '\r' |
    sed -n 's/^App[0-9]* found=//p; s/^App[0-9]* action=\([0-9]\).*/\1/p' | paste -sd'= ') ||
    fail "$1: the probe failed"
  assert_eq "$actual" "$3" "$1"
  pass "$1"
}
expect_probe "registry views, 64-bit folders and Architectures, each by the words that name them" \
  "2|HKLM64\\Software\\Tessara Detect\\Version|
2|HKLM\\Software\\Tessara Detect\\Version|
2|HKLM32\\Software\\Tessara Detect32\\Version|
2|HKLM64\\Software\\Tessara Detect32\\Version|
2|HKLM\\Software\\Tessara Detect32\\Version|
1|HKLM32\\Software\\Tessara Detect\\\\Version\\|
0|[System64Folder]tessdetect64.dll|VerMin=5.1
0|[SystemFolder]tessdetect64.dll|
0|[ProgramFiles64Folder]Tessara Detect\\tool.dll?1|
0|[ProgramFilesFolder]Tessara Detect\\tool.dll?1|
0|[CommonFiles64Folder]Tessara Detect\\common.dll|
2|HKLM\\Software\\Absent\\Version|Architectures=x64
2|HKLM\\Software\\Absent\\Version|Architectures=x86, arm64
2|HKLM\\Software\\Absent\\Version|Architectures=arm64,x64" \
  "'6.4.0'=0 $(old "'6.4.0'=0" =1) '3.2.0'=0 =1 $(old =1 "'3.2.0'=0") =1 '5.1.2600.0'=0 \
$(old "'5.1.2600.0'=0" =1) '1.2.3.4'=0 $(old "'1.2.3.4'=0" =1) '65535.0.7.65534'=0 =1 =3 =1"

# A package found by its ProductCode: installed by the first run, not offered by the second.
build_sample_msi
product='{5D1A3B6C-2E4F-4A7B-9C8D-0E1F2A3B4C5D}'
upgrade='{3A0C5E1D-7F42-4B8A-A1D3-5C6E7F809A12}'
mkdir -p "$SCRATCH/runtime"
cp "$TESSARA_ROOT/tests/support/runtime/"runtime.{wxs,txt} "$SCRATCH/runtime/"
sed -i "s/<Product Id=\"\*\"/<Product Id=\"${product:1:36}\"/" "$SCRATCH/runtime/runtime.wxs"
(cd "$SCRATCH/runtime" && tess_wixl runtime.msi runtime.wxs) || fail "wixl could not build the runtime"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime/runtime.msi" -o "$SCRATCH/runtime-setup.exe" \
  >/dev/null || fail "packing the runtime's setup failed"
printf '[PREREQUISITES]\nApp1=Runtime\n[App1]\nSetupFile=runtime-setup.exe\nCommandLine=/qn\nSearchType=3\nSearchString=%s\nVerMin=2.1\nArchitectures=x86, x64\n[GeneralOptions]\nMainAppCmdLine=/qn\nOptions=q\n' \
  "$product" >"$SCRATCH/msi.ini"
"$PACK" check "$SCRATCH/msi.ini" | grep -qx '0 error(s), 0 warning(s)' || fail "check of the new keys"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/msi.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" -o "$(drive_c)/msi-setup.exe" >/dev/null || fail "packing failed"
record_package_launches
packages() { setup_record | sed 's/^"[^"]*\\\([a-z]*\.msi\)".*/\1/' | tr '\n' ' '; }
assert_eq "$(run_line_code 'C:\msi-setup.exe')" 0 "exit code of the first run"
assert_eq "$(packages)" "runtime.msi sample.msi " "the packages the first run installed"
rm -f "$(drive_c)/setup-record.txt"
assert_eq "$(run_line_code 'C:\msi-setup.exe')" 0 "exit code of the second run"
assert_eq "$(packages)" "sample.msi " "the packages the second run installed"
expect_probe "the installed package by its ProductCode and UpgradeCode, with its version" \
  "3|$product|VerMin=2.1
4|$upgrade|VerMin=2.1
4|$upgrade|VerMin=2.2" "'2.1.0'=0 '2.1.0'=0 '2.1.0'=1"

# Downloads checked by their signer, its name matched without regard to case.
mkdir -p "$SCRATCH/srv" "$(drive_c)/dist"
for who in "vendor:Tessara Test Vendor" "other:Someone Else"; do
  openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=${who#*:}" -days 2 \
    -addext extendedKeyUsage=codeSigning -keyout "$SCRATCH/${who%%:*}.key" \
    -out "$SCRATCH/${who%%:*}.pem" >/dev/null 2>&1 || fail "openssl could not make a certificate"
  osslsigncode sign -certs "$SCRATCH/${who%%:*}.pem" -key "$SCRATCH/${who%%:*}.key" \
    -in "$RECORDING_SETUP" -out "$SCRATCH/srv/${who%%:*}-setup.exe" >/dev/null || fail "osslsigncode failed"
done
python3 -c 'import sys; b = bytearray(open(sys.argv[1], "rb").read()); b[0x400] ^= 0xFF
open(sys.argv[2], "wb").write(b)' "$SCRATCH/srv/vendor-setup.exe" "$SCRATCH/srv/broken-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/srv/plain-setup.exe"
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
signed_setup() { # name, downloaded files
  local n=0 file
  for file in "${@:2}"; do
    n=$((n + 1))
    printf '[App%s]\nUrl=%s/%s\nExactSize=%s\nSigner=tessara TEST vendor\nCommandLine=/tag=%s /install=%s:1.0\nSearchType=2\nSearchString=HKLM\\Software\\Tessara Tests\\%s\\Version\n' \
      $n "$base" "$file" "$(stat -c %s "$SCRATCH/srv/$file")" "${file%-setup.exe}" "$file" "$file"
  done >"$SCRATCH/$1.ini"
  { printf '[GeneralOptions]\nMainAppCmdLine=/qn\nOptions=q\n[PREREQUISITES]\n'; seq -f 'App%g=D' $n; } >>"$SCRATCH/$1.ini"
  "$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/$1.ini" \
    -o "$(drive_c)/dist/$1.exe" >/dev/null 2>&1 || fail "packing $1 failed"
}
tags() { setup_record | sed -n 's/^\/tag=\([a-z]*\).*/\1/p' | tr '\n' ' '; }
signed_setup bad other-setup.exe broken-setup.exe plain-setup.exe
signed_setup good vendor-setup.exe
rm -f "$(drive_c)/setup-record.txt"
assert_eq "$(run_line_code 'C:\dist\bad.exe')" 1603 "exit code with three wrongly signed downloads"
assert_eq "$(tags)$(ls "$(drive_c)/dist" | tr '\n' ' ')" "bad.exe good.exe " "what ran and stayed"
pass "another signer, a broken signature, an unsigned file: deleted, not run"
# A broken file of the whole size already present is deleted at once; the download replaces it.
cp "$SCRATCH/srv/broken-setup.exe" "$(drive_c)/dist/vendor-setup.exe"
assert_eq "$(run_line_code 'C:\dist\good.exe')" 0 "exit code with a broken file already present"
cmp -s "$SCRATCH/srv/vendor-setup.exe" "$(drive_c)/dist/vendor-setup.exe" || fail "the download was not kept"
assert_eq "$(tags)" "vendor " "setups run after the broken file went"
requests=$(grep -c vendor-setup "$SCRATCH/requests.log")
wine reg delete 'HKLM\Software\Tessara Tests\vendor-setup.exe' /f /reg:$own >/dev/null 2>&1 ||
  fail "could not remove what the vendor's setup installed"
assert_eq "$(run_line_code 'C:\dist\good.exe')" 0 "exit code with the vendor's file already present"
assert_eq "$(tags)" "vendor vendor " "setups run from the vendor's download, then from the file present"
assert_eq "$(grep -c vendor-setup "$SCRATCH/requests.log")" "$requests" "requests for the file present"
pass "the vendor's signature runs, downloaded or already present"
