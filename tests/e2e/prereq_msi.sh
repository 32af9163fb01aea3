#!/usr/bin/env bash
# A prerequisite that is itself a Windows Installer package, packed into a setup of its own and
# carried inside the main setup: Windows Installer installs both for real; a second run finds
# the prerequisite by its registry value and offers nothing. The setup's own command line
# replaces MainAppCmdLine; without one the package gets MainAppCmdLine.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch prereq_msi
need_tools wixl wine
tess_display || fail "no X display"
build_sample_msi
build_runtime_msi
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime/runtime.msi" --product-name "Tessara Runtime" \
  -o "$SCRATCH/runtime-setup.exe" || fail "packing the prerequisite's setup failed"
cat >"$SCRATCH/sample.ini" <<'INI'
[PREREQUISITES]
App1=Tessara Runtime 2

[App1]
SetupFile=runtime-setup.exe
CommandLine=/qn
SearchType=2
SearchString=HKLM\Software\Tessara Runtime\Version
VerMin=2.0

[GeneralOptions]
MainAppCmdLine=/qn
Options=q
INI
"$PACK" check "$SCRATCH/sample.ini" || fail "the configuration does not pass check"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" -o "$SCRATCH/setup.exe" || fail "packing failed"

tess_new_prefix "$SCRATCH/prefix"
record_package_launches
cp "$SCRATCH/setup.exe" "$(drive_c)/setup.exe"
temp_win='C:\users\'"$(id -un)"'\Temp\<run>'

assert_eq "$(run_line_code 'C:\setup.exe /qn /l*v C:\first.log')" 0 "exit code of the first run"
# Unattended by its /qn, the run writes no restart value.
expected="\"$temp_win\\runtime.msi\" /qn | run: none
\"$temp_win\\sample.msi\" /qn /l*v C:\\first.log | run: none"
assert_eq "$(setup_record)" "$expected" "the packages Windows Installer was given, in order"
cmp -s "$SCRATCH/runtime/runtime.txt" "$(drive_c)/Program Files/Tessara Runtime/runtime.txt" ||
  fail "the prerequisite's file was not installed"
wine reg query 'HKLM\Software\Tessara Runtime' /v Version 2>/dev/null | grep -q '2.1.0' ||
  fail "the prerequisite's registry value is missing"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed"
[ -s "$(drive_c)/first.log" ] || fail "the setup's own command line did not reach the package"
pass "the prerequisite's own setup had Windows Installer install it, then the package was installed"
pass "the setup's own command line replaced MainAppCmdLine"

rm -f "$(drive_c)/setup-record.txt"
assert_eq "$(run_line_code 'C:\setup.exe')" 0 "exit code of the second run"
assert_eq "$(setup_record)" "\"$temp_win\\sample.msi\" /qn | run: none" "what the second run launched"
pass "a second run finds the prerequisite installed, offers nothing and hands MainAppCmdLine"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder: $(temp_leftovers)"
assert_eq "$(run_values)" "" "Run values after the runs"
pass "nothing left in the temporary folder, no restart value"
rm -rf "$SCRATCH/prefix"
