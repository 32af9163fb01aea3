#!/usr/bin/env bash
# Detection on a 64-bit machine, in a 64-bit prefix: registry values written in one view only
# (reg /reg:64, /reg:32) found through the roots that name that view; versioned files in the
# 64-bit system and program folders found through their tokens.
# The setup under test is the Windows build this machine runs: the 32-bit one sees the 32-bit
# view and folders through the old roots and tokens (WOW64), the x86-64 one sees the 64-bit
# ones; the new roots and tokens name a view whatever the build. Only a 32-bit program meets
# the redirection, so on a machine that runs the x86-64 build the old roots' 32-bit answers are
# not exercised.
. "$(dirname "$0")/../support/setup-e2e.sh"
if [ "$WINEARCH" != win64 ]; then
  # The 32-bit build in a 64-bit prefix of its own, made from a template of its own.
  export WINEARCH=win64 TESSARA_TEST_ROOT=$TESSARA_TEST_ROOT/win64
  TESS_PREFIX_READY=.ready-nocrashdialog-win64
fi
tess_scratch detect_64bit
need_tools wine
tess_display || fail "no X display"
trap 'wineserver -k 2>/dev/null' EXIT
probe=$TESSARA_WIN_BUILD/tests/detect_probe.exe
dlls=$TESSARA_WIN_BUILD/detect
[ -f "$probe" ] && [ -f "$dlls/detect_v1_2_3_4.dll" ] || fail "build the Windows tests first"
tess_new_prefix "$SCRATCH/prefix"
# What an old root or token finds: the 32-bit build sees the 32-bit view, the x86-64 one its own.
if [ "$TESS_WIN_BITS" = 32 ]; then own=32; else own=64; fi

reg() { wine reg add "$@" /f >/dev/null 2>&1 || fail "wine reg add $*"; }
reg 'HKLM\Software\Tessara Detect' /v Version /d 6.4.0 /reg:64
reg 'HKLM\Software\Tessara Detect32' /v Version /d 3.2.0 /reg:32
reg 'HKLM\Software\Tessara Detect\Releases\6.0' /reg:64
reg 'HKLM\Software\Tessara Detect\Releases\6.4' /reg:64
drive=$(drive_c)
mkdir -p "$drive/Program Files/Tessara Detect/bin" "$drive/Program Files/Common Files/Tessara Detect"
cp "$dlls/detect_v5_1_2600_0.dll" "$drive/windows/system32/tessdetect64.dll"
cp "$dlls/detect_v1_2_3_4.dll" "$drive/Program Files/Tessara Detect/bin/tool.dll"
cp "$dlls/detect_v65535_0_7_65534.dll" "$drive/Program Files/Common Files/Tessara Detect/common.dll"

# Runs the probe on a configuration of "name|SearchType|SearchString|more keys" lines; prints
# "name found=... action=N" per prerequisite.
probe() {
  local n=0 line name type search more
  {
    echo '[PREREQUISITES]'
    while IFS='|' read -r name _; do n=$((n + 1)); echo "App$n=$name"; done <<<"$1"
    n=0
    while IFS='|' read -r name type search more; do
      n=$((n + 1))
      printf '[App%s]\nSetupFile=s.exe\nSearchType=%s\nSearchString=%s\n%b\n' "$n" "$type" "$search" "$more"
    done <<<"$1"
  } >"$SCRATCH/probe.ini"
  tess_expect_exit 0 wine "$probe" "$(winpath "$SCRATCH/probe.ini")" >"$SCRATCH/probe.out" ||
    fail "the probe failed"
  tr -d '\r' <"$SCRATCH/probe.out" | awk '
    / name=/ { sub(/.* name=./, ""); sub(/.$/, ""); name = $0 }
    / found=/ { sub(/.* found=/, ""); found = $0 }
    / action=/ { sub(/.* action=/, ""); print name " found=" found " action=" $1 }'
}
expect_probe() { # what, configuration lines, expected output
  local actual
  actual=$(probe "$2")
  [ "$actual" = "$3" ] || fail "$1:
$actual
expected:
$3"
  pass "$1"
}

view64='6.4.0'
view32='3.2.0'
[ $own = 64 ] && old64="'$view64'" old32='' || { old64=''; old32="'$view32'"; }
expect_probe "registry values and keys in one view, through the roots of each view" \
  "64 only|2|HKLM64\\Software\\Tessara Detect\\Version
64 only, old root|2|HKLM\\Software\\Tessara Detect\\Version
32 only|2|HKLM32\\Software\\Tessara Detect32\\Version
32 only, 64-bit root|2|HKLM64\\Software\\Tessara Detect32\\Version
32 only, old root|2|HKLM\\Software\\Tessara Detect32\\Version
64 only, 32-bit root|1|HKLM32\\Software\\Tessara Detect\\\\Version\\
64-bit keys|1|HKLM64\\Software\\Tessara Detect\\Releases" \
  "64 only found='$view64' action=0
64 only, old root found=$old64 action=$([ $own = 64 ] && echo 0 || echo 1)
32 only found='$view32' action=0
32 only, 64-bit root found= action=1
32 only, old root found=$old32 action=$([ $own = 32 ] && echo 0 || echo 1)
64 only, 32-bit root found= action=1
64-bit keys found='6.0','6.4' action=0"

[ $own = 64 ] && old="'5.1.2600.0'" || old=''
[ $own = 64 ] && oldpf="'1.2.3.4'" || oldpf=''
expect_probe "versioned files in the 64-bit system and program folders, through their tokens" \
  "System64|0|[System64Folder]tessdetect64.dll|VerMin=5.1
System, old token|0|[SystemFolder]tessdetect64.dll
ProgramFiles64|0|[ProgramFiles64Folder]Tessara Detect\\tool.dll?1
ProgramFiles, old token|0|[ProgramFilesFolder]Tessara Detect\\tool.dll?1
CommonFiles64|0|[CommonFiles64Folder]Tessara Detect\\common.dll" \
  "System64 found='5.1.2600.0' action=0
System, old token found=$old action=$([ -n "$old" ] && echo 0 || echo 1)
ProgramFiles64 found='1.2.3.4' action=0
ProgramFiles, old token found=$oldpf action=$([ -n "$oldpf" ] && echo 0 || echo 1)
CommonFiles64 found='65535.0.7.65534' action=0"

expect_probe "Architectures keeps the machine's architecture and skips the others" \
  "x64|2|HKLM\\Software\\Absent\\Version|Architectures=x64
arm64|2|HKLM\\Software\\Absent\\Version|Architectures=arm64
x86|2|HKLM\\Software\\Absent\\Version|Architectures=x86
two|2|HKLM\\Software\\Absent\\Version|Architectures=arm64, x64" \
  "x64 found= action=1
arm64 found= action=3
x86 found= action=3
two found= action=1"

# A Windows Installer package found by its ProductCode and its UpgradeCode: the first run has
# its setup install it, the second offers nothing.
need_tools wixl
build_sample_msi
product='{5D1A3B6C-2E4F-4A7B-9C8D-0E1F2A3B4C5D}'
upgrade='{3A0C5E1D-7F42-4B8A-A1D3-5C6E7F809A12}'
mkdir -p "$SCRATCH/runtime"
cp "$TESSARA_ROOT/tests/support/runtime/"runtime.{wxs,txt} "$SCRATCH/runtime/"
sed -i "s/<Product Id=\"\*\"/<Product Id=\"${product:1:36}\"/" "$SCRATCH/runtime/runtime.wxs"
(cd "$SCRATCH/runtime" && tess_wixl runtime.msi runtime.wxs) || fail "wixl could not build the runtime"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime/runtime.msi" -o "$SCRATCH/runtime-setup.exe" \
  >/dev/null || fail "packing the runtime's setup failed"
printf '[PREREQUISITES]\nApp1=Tessara Runtime\n[App1]\nSetupFile=runtime-setup.exe\nCommandLine=/qn\nSearchType=3\nSearchString=%s\nVerMin=2.1\nArchitectures=x86, x64\n[GeneralOptions]\nMainAppCmdLine=/qn\nOptions=q\n' \
  "$product" >"$SCRATCH/msi.ini"
"$PACK" check "$SCRATCH/msi.ini" >"$SCRATCH/msi.check" || fail "check refused the configuration"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/msi.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" -o "$(drive_c)/msi-setup.exe" >/dev/null || fail "packing failed"
record_package_launches
assert_eq "$(run_line_code 'C:\msi-setup.exe')" 0 "exit code of the first run"
assert_eq "$(setup_record | sed 's/^"[^"]*\\\([a-z]*\.msi\)".*/\1/' | tr '\n' ' ')" "runtime.msi sample.msi " \
  "the packages installed by the first run"
expect_probe "the installed package, by its ProductCode and by its UpgradeCode, with its version" \
  "product|3|$product|VerMin=2.1
upgrade|4|$upgrade|VerMin=2.1
newer|4|$upgrade|VerMin=2.2
other|3|{00000000-0000-0000-0000-000000000000}" \
  "product found='2.1.0' action=0
upgrade found='2.1.0' action=0
newer found='2.1.0' action=1
other found= action=1"
rm -f "$(drive_c)/setup-record.txt"
assert_eq "$(run_line_code 'C:\msi-setup.exe')" 0 "exit code of the second run"
assert_eq "$(setup_record | grep -c runtime.msi)" 0 "runtime packages of the second run"
pass "a second run offers nothing"

# Downloads verified by their signer: the vendor's signature runs (the name matched without
# regard to case), another signer's, a broken signature and an unsigned file are deleted and not
# run, also when they already lie in the download folder with the right size.
need_tools osslsigncode openssl python3
. "$TESSARA_ROOT/tests/support/http-server.sh"
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
trap '[ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
signed_setup() { # name, setup files
  local n=0 file
  {
    printf '[PREREQUISITES]\n'
    for file in "${@:2}"; do n=$((n + 1)); printf 'App%s=%s\n' $n "$file"; done
    n=0
    for file in "${@:2}"; do
      n=$((n + 1))
      printf '[App%s]\nUrl=%s/%s\nExactSize=%s\nSigner=tessara TEST vendor\nCommandLine=/tag=%s /install=%s:1.0\nSearchType=2\nSearchString=HKLM\\Software\\Tessara Tests\\%s\\Version\n' \
        $n "$base" "$file" "$(stat -c %s "$SCRATCH/srv/$file")" "${file%-setup.exe}" "$file" "$file"
    done
    printf '[GeneralOptions]\nMainAppCmdLine=/qn\nOptions=q\n'
  } >"$SCRATCH/$1.ini"
  "$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/$1.ini" \
    -o "$(drive_c)/dist/$1.exe" >/dev/null 2>&1 || fail "packing $1 failed"
}
tags() { setup_record | sed -n 's/^\/tag=\([a-z]*\).*/\1/p' | tr '\n' ' '; }
signed_setup bad other-setup.exe broken-setup.exe plain-setup.exe
signed_setup good vendor-setup.exe
rm -f "$(drive_c)/setup-record.txt"
assert_eq "$(run_line_code 'C:\dist\bad.exe')" 1603 "exit code with three wrongly signed downloads"
assert_eq "$(tags)" "" "setups run from wrongly signed downloads"
assert_eq "$(ls "$(drive_c)/dist")" "bad.exe
good.exe" "files in the download folder after the wrongly signed downloads"
pass "another signer, a broken signature and an unsigned file: deleted, not run, the run fails"
cp "$SCRATCH/srv/broken-setup.exe" "$(drive_c)/dist/vendor-setup.exe"
assert_eq "$(run_line_code 'C:\dist\good.exe')" 1603 "exit code with a broken file already present"
assert_eq "$(tags)" "" "setups run from a broken file already present"
[ ! -e "$(drive_c)/dist/vendor-setup.exe" ] || fail "the broken file already present was kept"
assert_eq "$(run_line_code 'C:\dist\good.exe')" 0 "exit code with the vendor's download"
assert_eq "$(tags)" "vendor " "setups run from the vendor's download"
cmp -s "$SCRATCH/srv/vendor-setup.exe" "$(drive_c)/dist/vendor-setup.exe" || fail "the download was not kept"
requests=$(grep -c vendor-setup "$SCRATCH/requests.log")
wine reg delete 'HKLM\Software\Tessara Tests\vendor-setup.exe' /f /reg:$own >/dev/null 2>&1 ||
  fail "could not remove what the vendor's setup installed"
assert_eq "$(run_line_code 'C:\dist\good.exe')" 0 "exit code with the vendor's file already present"
assert_eq "$(tags)" "vendor vendor " "setups run from the vendor's file already present"
assert_eq "$(grep -c vendor-setup "$SCRATCH/requests.log")" "$requests" "requests for a file already present"
pass "the vendor's signature runs, downloaded or already present; a broken one present is deleted"

if [ "$TESS_WIN_BITS" = 32 ]; then
  # The 32-bit build on a 32-bit Windows: no 64-bit view or folders, x86 prerequisites only.
  export WINEARCH=win32 TESSARA_TEST_ROOT=${TESSARA_TEST_ROOT%/win64}
  TESS_PREFIX_READY=.ready-nocrashdialog-win32
  tess_new_prefix "$SCRATCH/prefix32"
  reg 'HKLM\Software\Tessara Detect' /v Version /d 6.4.0
  cp "$dlls/detect_v5_1_2600_0.dll" "$(drive_c)/windows/system32/tessdetect64.dll"
  expect_probe "a 32-bit Windows: the 64-bit roots and folders find nothing; x86 kept, x64 skipped" \
    "64-bit root|2|HKLM64\\Software\\Tessara Detect\\Version
32-bit root|2|HKLM32\\Software\\Tessara Detect\\Version
System64|0|[System64Folder]tessdetect64.dll
x86|2|HKLM\\Software\\Absent\\Version|Architectures=x86
x64|2|HKLM\\Software\\Absent\\Version|Architectures=x64" \
    "64-bit root found= action=1
32-bit root found='6.4.0' action=0
System64 found= action=1
x86 found= action=1
x64 found= action=3"
fi
