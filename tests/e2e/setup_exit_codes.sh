#!/usr/bin/env bash
# The setup's exit code, as a deployment script sees it: the package's own code passed
# through, 1601 when the package could not be started, 1603 when the setup could not open its
# archive, and in extract-only mode 0 or 1603. The boxes stay what they were.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_exit_codes
need_tools wine python3
tess_display || fail "no X display"
mkdir -p "$SCRATCH/pkg"
fake_msi "$SCRATCH/pkg/app.msi" 5000
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" -o "$SCRATCH/setup.exe" || fail "packing failed"
tess_new_prefix "$SCRATCH/prefix"
cp "$SCRATCH/setup.exe" "$(drive_c)/setup.exe"
cp "$TESSARA_WIN_BUILD/tests/recording_setup.exe" "$(drive_c)/recording_setup.exe"
cp "$DRIVER" "$(drive_c)/window_driver.exe"

# The package is "installed" by a stand-in that ends with the given code.
package_exits_with() {
  wine reg add 'HKCR\Msi.Package\shell\Open\command' /ve \
    /d "C:\\recording_setup.exe /exit=$1 \"%1\" %*" /f >/dev/null 2>&1 || fail "could not register the stand-in"
}
for code in 0 3010 1603 1641; do
  package_exits_with "$code"
  assert_eq "$(run_line_code 'C:\setup.exe /qn')" "$code" "exit code when the package ends with $code"
done
pass "the package's exit code passes through unchanged (0, 3010, 1603, 1641)"

# Real Windows Installer on a package that is not one: its own code comes back.
wine reg add 'HKCR\Msi.Package\shell\Open\command' /ve \
  /d 'C:\windows\system32\msiexec.exe /i "%1" %*' /f >/dev/null 2>&1
status=$(run_line_code 'C:\setup.exe /qn')
[ "$status" -ge 1600 ] && [ "$status" -le 1650 ] ||
  fail "Windows Installer's code for an invalid package should pass through, got $status"
pass "Windows Installer's own failure code passes through ($status)"

# A setup whose box the driver answers; prints the setup's exit code after the box's report.
exit_after_box() { # file, expected message
  start_line_code "C:\\$1"
  local report status
  report=$(timeout 120 wine 'C:\window_driver.exe' dialog 60 OK | tr -d '\r')
  status=$(wait_line_code)
  echo "$report" | grep -qF "$2" || fail "$1: expected the box '$2'; saw: $report"
  echo "$status"
}

wine reg delete 'HKCR\Msi.Package\shell\Open\command' /f >/dev/null 2>&1
wine reg delete 'HKCR\.msi' /f >/dev/null 2>&1
assert_eq "$(exit_after_box setup.exe 'Windows Installer could not be started.')" 1601 \
  "exit code when the package could not be started"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder after a failed launch"
pass "1601 after the box when the package cannot be started"

cp "$SCRATCH/setup.exe" "$(drive_c)/damaged.exe"
python3 "$TESSARA_ROOT/tests/support/patch_setup.py" hostile-name "$(drive_c)/damaged.exe"
assert_eq "$(exit_after_box damaged.exe 'This archive is corupted.')" 1603 "exit code of a corrupt setup"
cp "$SCRATCH/setup.exe" "$(drive_c)/v99.exe"
python3 "$TESSARA_ROOT/tests/support/patch_setup.py" version "$(drive_c)/v99.exe" 99
assert_eq "$(exit_after_box v99.exe 'This archive has an an unsuported version.')" 1603 \
  "exit code of a setup of another version"
cp "$STUB" "$(drive_c)/nosig.exe"
assert_eq "$(exit_after_box nosig.exe 'An error occured while reading the file.')" 1603 \
  "exit code of a stub without archive"
pass "1603 after the box when the archive cannot be opened"

mkdir -p "$(drive_c)/out"
assert_eq "$(run_line_code 'C:\setup.exe /extract:C:\out')" 0 "exit code of a complete extraction"
cmp -s "$SCRATCH/pkg/app.msi" "$(drive_c)/out/app.msi" || fail "extract-only did not write the package"
assert_eq "$(run_line_code 'C:\setup.exe /extract:C:\missing')" 1603 \
  "exit code of an extraction into a missing folder"
assert_eq "$(run_line_code 'C:\nosig.exe /extract:C:\out')" 1603 "exit code of extract-only without an archive"
pass "extract-only: 0 when every entry was written, else 1603, with no window"
