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
# Files of the package's names in the temporary folder are not the setup's: the user's own
# sample.msi, and a sample.cab that cannot be written (read-only on Windows, immutable here,
# where the tests run as root). The setup neither launches, changes nor removes them.
temp=$(tess_temp_dir)
mkdir -p "$temp"
echo "the user's own file" >"$temp/sample.msi"
echo "a planted cabinet" >"$temp/sample.cab"
chattr +i "$temp/sample.cab" || fail "cannot make the planted cabinet immutable"
trap 'chattr -i "$temp/sample.cab" 2>/dev/null' EXIT

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
assert_eq "$(cat "$temp/sample.msi")" "the user's own file" "the user's sample.msi"
assert_eq "$(cat "$temp/sample.cab")" "a planted cabinet" "the planted sample.cab"
chattr -i "$temp/sample.cab"
rm -f "$temp/sample.msi" "$temp/sample.cab"
leftovers=$(temp_leftovers)
[ -z "$leftovers" ] || fail "extracted files left in the temporary folder: $leftovers"
pass "files of the package's names in the temporary folder were left alone; nothing of the run's is left"

# Two copies of a 150 MB setup started a second apart: each extracts into a folder of its own
# and hands Windows Installer its own, whole package. The first installs (the product is now
# there, so it repairs); the second installs too or gets Windows Installer's own answer that
# another installation is running.
head -c 150000000 /dev/urandom >"$SCRATCH/pkg/payload.bin"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --cab "$SCRATCH/pkg/sample.cab" \
  --file "$SCRATCH/pkg/payload.bin" -o "$SCRATCH/big-setup.exe" >/dev/null || fail "packing the 150 MB setup failed"
rm -f "$SCRATCH/pkg/payload.bin"
cp "$SCRATCH/big-setup.exe" "$(drive_c)/big-setup.exe"
record_package_launches
for n in 1 2; do
  printf '@C:\\big-setup.exe /qn\r\n@echo %%ERRORLEVEL%%>C:\\copy%s-code.txt\r\n' "$n" >"$(drive_c)/copy$n.bat"
  rm -f "$(drive_c)/copy$n-code.txt"
  timeout 600 wine cmd /c "C:\\copy$n.bat" >/dev/null 2>&1 &
  eval "copy${n}_pid=\$!"
  sleep 1
done
wait "$copy1_pid" "$copy2_pid"
code1=$(tr -d '\r\n ' <"$(drive_c)/copy1-code.txt" 2>/dev/null)
code2=$(tr -d '\r\n ' <"$(drive_c)/copy2-code.txt" 2>/dev/null)
assert_eq "$code1" 0 "the first copy's exit code"
[ "$code2" = 0 ] || [ "$code2" = 1618 ] || fail "the second copy's exit code: expected 0 or 1618, got '$code2'"
packages=$(tr -d '\r' <"$(drive_c)/setup-record.txt" | sed -n 's/^"\([^"]*\)".*/\1/p' | sort -u)
[ "$(echo "$packages" | grep -c 'Temp\\tsr[0-9a-f]\{8\}\\sample.msi$')" -eq 2 ] ||
  fail "the two copies did not each launch their own package: $packages"
leftovers=$(temp_leftovers)
[ -z "$leftovers" ] || fail "the two copies left in the temporary folder: $leftovers"
pass "two copies a second apart each launched their own package ($code1, $code2) and removed their folders"
