#!/usr/bin/env bash
# Detection under Wine: registry keys and values written with "wine reg", DLLs of known file
# versions in real folders, folder tokens resolved by the shell, then the decisions. The probe
# reads the configuration directly and, packed into a setup by tessara-pack, from the setup.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
. "$(dirname "$0")/../support/inputs.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in wine wineserver diff; do
  command -v "$tool" >/dev/null || fail "$tool is missing"
done
probe=$TESSARA_WIN_BUILD/tests/detect_probe.exe
dlls=$TESSARA_WIN_BUILD/detect
stub=$TESSARA_WIN_BUILD/app/tessara-stub.exe
pack=$TESSARA_NATIVE_BUILD/packer/tessara-pack
for file in "$probe" "$dlls/detect_v1_2_3_4.dll" "$dlls/detect_unversioned.dll" "$stub" "$pack"; do
  [ -f "$file" ] || fail "$file is missing (build both presets first)"
done

work=$TESSARA_TEST_ROOT/detection_probe
rm -rf "$work"
mkdir -p "$work"
tess_display || fail "no display"
trap '[ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null' EXIT
tess_new_prefix "$work/prefix" || fail "no Wine prefix"

reg() { wine reg add "$@" /f >/dev/null 2>&1 || fail "wine reg add $*"; }
for v in 1.3 1.4.2_08 1.5.0; do
  reg "HKLM\\SOFTWARE\\Example Vendor\\Runtime Library\\$v"
done
reg 'HKLM\SOFTWARE\Example' /v Version /d 2.1
reg 'HKLM\SOFTWARE\Example' /ve /d default-data
reg 'HKLM\SOFTWARE\Example' /v Installed /d 1
reg 'HKLM\SOFTWARE\Example' /v Count /t REG_DWORD /d 0x00323531
reg 'HKCU\SOFTWARE\Example' /v Version /d 9.9
reg 'HKLM\SOFTWARE\Empty'

drive=$WINEPREFIX/drive_c
pf="$drive/Program Files/Example"
mkdir -p "$pf/sub/deeper" "$pf/loop"
cp "$dlls/detect_v1_2_3_4.dll" "$pf/sub/tool.dll"
cp "$dlls/detect_v65535_0_7_65534.dll" "$pf/sub/deeper/deep.dll"
cp "$dlls/detect_v5_1_2600_0.dll" "$drive/windows/system32/tessdetect.dll"
cp "$dlls/detect_unversioned.dll" "$work/plain.dll"
# A folder that contains itself: a walk of any depth must still end.
ln -s .. "$pf/loop/again"

cat >"$work/detect.ini" <<'INI'
[PREREQUISITES]
App1=Runtime Library
App2=Newer Runtime
App3=Value
App4=Default value
App5=Expected text
App6=Dword
App7=Small root
App8=Long root
App9=System DLL
App10=Tool
App11=Deep one level
App12=Deep two levels
App13=Current folder
App14=Loop
App15=Old systems only
App16=Unknown search
App17=Incomplete
App18=Never read
[App1]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example Vendor\Runtime Library
VerMin=1.4
VerMax=1.5
[App2]
Url=http://127.0.0.1/newer.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example Vendor\Runtime Library
VerMin=1.6
[App3]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example\\Version\
VerMin=2.0
[App4]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example\\Version
[App5]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example\\Installed\2\
[App6]
SetupFile=runtime-setup.exe
SearchType=2
SearchString=HKLM\SOFTWARE\Example\Count
VerMax=100
[App7]
SetupFile=runtime-setup.exe
SearchType=2
SearchString=hklm\SOFTWARE\Example\Version
[App8]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKEY_LOCAL_MACHINE\SOFTWARE\Example Vendor\Runtime Library
[App9]
SetupFile=runtime-setup.exe
SearchType=0
SearchString=[SystemFolder]tessdetect.dll
VerMin=5.1
[App10]
SetupFile=runtime-setup.exe
SearchType=0
SearchString=[ProgramFilesFolder]Example\tool.dll?1
[App11]
SetupFile=runtime-setup.exe
SearchType=0
SearchString=[ProgramFiles]Example\deep.dll?1
[App12]
SetupFile=runtime-setup.exe
SearchType=0
SearchString=[ProgramFiles]Example\deep.dll?2
VerMax=65535.1
[App13]
SetupFile=runtime-setup.exe
SearchType=0
SearchString=[Nowhere]plain.dll
[App14]
SetupFile=runtime-setup.exe
SearchType=0
SearchString=[ProgramFilesFolder]Example\loop\absent.dll?4294967295
[App15]
SetupFile=runtime-setup.exe
TargetOS=0
SearchType=1
SearchString=HKLM\SOFTWARE\Example Vendor\Runtime Library
[App16]
Url=http://127.0.0.1/x.exe
SearchType=5
SearchString=HKLM\SOFTWARE\Example Vendor\Runtime Library
[App17]
SetupFile=runtime-setup.exe
SearchType=1
[App18]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example Vendor\Runtime Library
[GeneralOptions]
MainAppCmdLine=/qb
Options=xqm
INI

cat >"$work/expected.txt" <<'EXPECTED'
general: cmdline='/qb' options='xqm' quiet=yes
App1 name='Runtime Library'
App1 found='1.3','1.4.2_08','1.5.0'
App1 status=Required: between 1.4 and 1.5. Found: 1.3, 1.4.2_08, 1.5.0
App1 action=0 Don't Install
App2 name='Newer Runtime'
App2 found='1.3','1.4.2_08','1.5.0'
App2 status=Required: 1.6 or higher. Found: 1.3, 1.4.2_08, 1.5.0
App2 action=2 Download
App3 name='Value'
App3 found='2.1'
App3 status=Required: 2.0 or higher. Found: 2.1
App3 action=0 Don't Install
App4 name='Default value'
App4 found='default-data'
App4 status=Required: any. Found: default-data
App4 action=0 Don't Install
App5 name='Expected text'
App5 found=
App5 status=Required: any. Found: nothing.
App5 action=1 Install
App6 name='Dword'
App6 found='152'
App6 status=Required: 100 or lower. Found: 152
App6 action=1 Install
App7 name='Small root'
App7 found='9.9'
App7 status=Required: any. Found: 9.9
App7 action=0 Don't Install
App8 name='Long root'
App8 found=
App8 status=Required: any. Found: nothing.
App8 action=1 Install
App9 name='System DLL'
App9 found='5.1.2600.0'
App9 status=Required: 5.1 or higher. Found: 5.1.2600.0
App9 action=0 Don't Install
App10 name='Tool'
App10 found='1.2.3.4'
App10 status=Required: any. Found: 1.2.3.4
App10 action=0 Don't Install
App11 name='Deep one level'
App11 found=
App11 status=Required: any. Found: nothing.
App11 action=1 Install
App12 name='Deep two levels'
App12 found='65535.0.7.65534'
App12 status=Required: 65535.1 or lower. Found: 65535.0.7.65534
App12 action=0 Don't Install
App13 name='Current folder'
App13 found='0.0.0.0'
App13 status=Required: any. Found: 0.0.0.0
App13 action=0 Don't Install
App14 name='Loop'
App14 found=
App14 status=Required: any. Found: nothing.
App14 action=1 Install
App15 name='Old systems only'
App15 found='1.3','1.4.2_08','1.5.0'
App15 status=Not required for this operating system.
App15 action=3 Don't Install
App16 name='Unknown search'
App16 found=
App16 status=Required: any. Found: nothing.
App16 action=2 Download
count=16 needsAction=yes
EXPECTED

cd "$work" || fail "no work folder"

# 1. The configuration read directly.
timeout 120 wine "$probe" "$(winpath "$work/detect.ini")" >"$work/direct.txt" 2>"$work/direct.err" ||
  fail "the probe failed on the configuration: $(cat "$work/direct.err")"
tr -d '\r' <"$work/direct.txt" >"$work/direct.lf"
diff -u "$work/expected.txt" "$work/direct.lf" || fail "direct detection differs"

# 2. Packed into a setup, then read from the setup's temporary folder.
fake_msi "$work/package.msi" 100
fake_program "$work/runtime-setup.exe" 100
"$pack" pack --stub "$stub" --msi "$work/package.msi" --config "$work/detect.ini" \
  --prereq "$work/runtime-setup.exe" -o "$work/setup.exe" >"$work/pack.out" 2>&1 ||
  fail "packing failed: $(cat "$work/pack.out")"
grep -q "root 'hklm' selects HKEY_CURRENT_USER" "$work/pack.out" ||
  fail "the packer did not print the configuration's warnings"
timeout 120 wine "$probe" --setup "$(winpath "$work/setup.exe")" >"$work/packed.txt" \
  2>"$work/packed.err" || fail "the probe failed on the setup: $(cat "$work/packed.err")"
tr -d '\r' <"$work/packed.txt" >"$work/packed.lf"
grep -q '^config=C:\\users\\.*\\Temp\\package.ini$' "$work/packed.lf" ||
  fail "the configuration was not read from the temporary folder: $(head -1 "$work/packed.lf")"
tail -n +2 "$work/packed.lf" | diff -u "$work/expected.txt" - || fail "packed detection differs"
[ ! -e "$(tess_temp_dir)/package.ini" ] || fail "the extracted configuration was left behind"

# 3. A configuration with an error is refused by the packer; "check" explains it.
sed 's/^SetupFile=runtime-setup.exe$/SetupFile=missing-setup.exe/' "$work/detect.ini" \
  >"$work/bad.ini"
if "$pack" pack --stub "$stub" --msi "$work/package.msi" --config "$work/bad.ini" \
  --prereq "$work/runtime-setup.exe" -o "$work/bad.exe" >"$work/bad.out" 2>&1; then
  fail "a configuration naming a setup that is not carried was packed"
fi
[ ! -e "$work/bad.exe" ] || fail "a refused setup was written"
"$pack" check "$work/detect.ini" "$work/setup.exe" >"$work/check.out" 2>&1
[ $? -eq 0 ] || fail "check of the packed configuration failed: $(cat "$work/check.out")"
grep -q "16 prerequisite(s); the list ends there: App17 has no usable SearchString, so App17 and everything after it is ignored." \
  "$work/check.out" || fail "check does not explain where the list ends"
"$pack" check "$work/bad.ini" "$work/setup.exe" >"$work/checkbad.out" 2>&1
[ $? -eq 2 ] || fail "check of a configuration with errors did not exit 2"
grep -q "error: line [0-9]* \[App1\]: SetupFile 'missing-setup.exe' is not a prerequisite setup" \
  "$work/checkbad.out" || fail "check does not name the missing setup"

# 4. A version.dll planted beside the program is never used for file versions.
control=$TESSARA_WIN_BUILD/tests/detect_static_version.exe
decoy=$TESSARA_WIN_BUILD/detect/decoy/version.dll
[ -f "$control" ] && [ -f "$decoy" ] || fail "the planting test programs are missing"
mkdir -p "$work/planted"
cp "$probe" "$control" "$decoy" "$work/planted/"
target=$(winpath "$dlls/detect_v1_2_3_4.dll")
printf '[PREREQUISITES]\nApp1=Planted\n[App1]\nSetupFile=s\nSearchType=0\nSearchString=%s\n' \
  "$target" >"$work/planted.ini"
wineserver -k 2>/dev/null
control_out=$(set -o pipefail; WINEDLLOVERRIDES="version=n,b;$WINEDLLOVERRIDES" tess_expect_exit 0 \
  wine "$work/planted/detect_static_version.exe" "$target" | tr -d '\r') || fail "control run"
[ "$control_out" = "7.7.7.7" ] || fail "the decoy was not taken by a static importer ($control_out)"
planted_out=$(set -o pipefail; WINEDLLOVERRIDES="version=n,b;$WINEDLLOVERRIDES" tess_expect_exit 0 \
  wine "$work/planted/detect_probe.exe" "$(winpath "$work/planted.ini")" | tr -d '\r') ||
  fail "probe run beside the decoy"
echo "$planted_out" | grep -qx "App1 found='1.2.3.4'" ||
  fail "the probe used a planted version.dll: $planted_out"

wineserver -k 2>/dev/null
echo "detection end to end: ok"
