#!/usr/bin/env bash
# A real package, packed and installed by its setup as a user would run it.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_install
need_tools wixl wine
tess_display || fail "no X display"
build_sample_msi
fake_cab "$SCRATCH/pkg/sample.cab" 64
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --cab "$SCRATCH/pkg/sample.cab" \
  -o "$SCRATCH/setup.exe" || fail "packing failed"

tess_new_prefix "$SCRATCH/prefix"
cp "$SCRATCH/setup.exe" "$(drive_c)/setup.exe"
# A stale file of the package's name in the temporary folder is overwritten, then removed.
mkdir -p "$(tess_temp_dir)"
echo stale >"$(tess_temp_dir)/sample.msi"

tess_expect_exit 0 run_wine 'C:\setup.exe' /qn /l*v 'C:\install.log' || fail "setup run"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package's file was not installed"
cmp -s "$(drive_c)/Program Files/Tessara Sample/readme.txt" "$SCRATCH/pkg/readme.txt" ||
  fail "the installed file differs from the package's"
wine reg query 'HKLM\Software\Tessara Sample' /v Installed 2>/dev/null | grep -q '1.0.0' ||
  fail "the package's registry value is missing"
pass "installed under Program Files with its registry value"
# The log only exists because the setup handed its own command line to the package.
[ -s "$(drive_c)/install.log" ] || fail "no installer log: the command line was not handed over"
pass "the setup's command line (/qn /l*v) reached the package"
leftovers=$(temp_leftovers)
[ -z "$leftovers" ] || fail "extracted files left in the temporary folder: $leftovers"
pass "no extracted file left in the temporary folder"
