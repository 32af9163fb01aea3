#!/usr/bin/env bash
# The vendor's face on a setup, read back under Wine with the platform's own functions: icon 128
# of the packed setup has the pixels of the vendor's .ico at each of its sizes, the version API
# returns the vendor's strings and file version, the setup still installs its package, and,
# signed after packing, it verifies and installs too. A bad .ico is refused; the stub stays as
# it was built.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_vendor_face
need_tools wixl wine convert osslsigncode openssl
tess_display || fail "no X display"
build_sample_msi
PROBE="$TESSARA_WIN_BUILD/tests/resource_probe.exe"
[ -f "$PROBE" ] || fail "not built: $PROBE"
stub_sum=$(sha256sum <"$STUB")

# A picture of three sizes: a red square with a blue disc, on transparency.
convert -size 48x48 xc:none -fill '#cc3311' -draw 'rectangle 6,6 41,41' -fill '#1133cc' \
  -draw 'circle 24,24 24,14' "$SCRATCH/big.png" || fail "convert could not draw the icon"
convert "$SCRATCH/big.png" \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) \
  "$SCRATCH/vendor.ico" || fail "convert could not write the icon"

"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --icon "$SCRATCH/vendor.ico" \
  --company "Contoso Ltd." --description "Contoso Suite Setup" --file-version 2.1.0.7 \
  --product-name "Contoso Suite" -o "$SCRATCH/vendor.exe" || fail "packing with the vendor's face failed"
assert_eq "$(sha256sum <"$STUB")" "$stub_sum" "the stub after packing"

tess_new_prefix "$SCRATCH/prefix"
cp "$PROBE" "$(drive_c)/resource_probe.exe"
cp "$SCRATCH/vendor.exe" "$SCRATCH/vendor.ico" "$(drive_c)/"
cp "$STUB" "$(drive_c)/stub.exe"
probe() { run_wine 'C:\resource_probe.exe' "$@" | tr -d '\r'; }

for size in 16 32 48; do
  report=$(probe icon 'C:\vendor.exe' 'C:\vendor.ico' $size)
  echo "$report" | grep -qx 'pixels: equal' || fail "icon 128 at $size pixels: $report"
done
report=$(probe icon 'C:\vendor.exe' 'C:\vendor.ico' 32)
echo "$report" | grep -qx 'shell icon: equal' || fail "the shell's icon of the file is not the vendor's: $report"
report=$(probe icon 'C:\vendor.exe' 'C:\vendor.ico' 48)
echo "$report" | grep -qx 'centre: 1133cc' || fail "the icon's centre is not the blue disc: $report"
report=$(probe icon 'C:\stub.exe' 'C:\vendor.ico' 32)
echo "$report" | grep -qx 'pixels: differ' || fail "the stub's own icon already looks like the vendor's: $report"
pass "icon 128 of the setup, and the shell's icon of the file, have the .ico's pixels"

expected_version() {
  cat <<'TXT'
CompanyName: Contoso Ltd.
FileDescription: Contoso Suite Setup
FileVersion: 2.1.0.7
ProductName: Contoso Suite
TXT
}
check_version() { # setup path in the prefix, what
  local report
  report=$(probe version "$1")
  [ "$(echo "$report" | head -4)" = "$(expected_version)" ] || fail "$2: version strings: $report"
  echo "$report" | grep -qx 'fixed file version: 2.1.0.7' || fail "$2: fixed version: $report"
}
check_version 'C:\vendor.exe' "the packed setup"
pass "the version API reads the vendor's strings and file version"

# The rewritten resources keep the manifest: common controls 6, run as the invoking user, and
# every supported system from Windows 7 on.
manifest=$(probe manifest 'C:\vendor.exe')
for entry in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
  '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
  '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
  '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
  '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>'; do
  echo "$manifest" | tr -s ' \n' ' ' | grep -qF "$entry" || fail "the setup's manifest lacks $entry: $manifest"
done
pass "the setup's manifest asks for common controls 6, asInvoker and DPI awareness and names Windows 7 to 11"

tess_expect_exit 0 run_line 'C:\vendor.exe /qn' || fail "the vendor's setup"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder"
pass "the rewritten setup installs its package"

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Contoso Test Signing" -days 2 \
  -keyout "$SCRATCH/key.pem" -out "$SCRATCH/cert.pem" >/dev/null 2>&1 || fail "openssl could not make a certificate"
osslsigncode sign -certs "$SCRATCH/cert.pem" -key "$SCRATCH/key.pem" -n "Contoso Suite" \
  -in "$SCRATCH/vendor.exe" -out "$SCRATCH/signed.exe" >/dev/null || fail "osslsigncode could not sign the setup"
osslsigncode verify -CAfile "$SCRATCH/cert.pem" "$SCRATCH/signed.exe" >"$SCRATCH/verify.txt" 2>&1 ||
  fail "the signed setup does not verify: $(tail -5 "$SCRATCH/verify.txt")"
"$PACK" list "$SCRATCH/signed.exe" | grep -q 'sample.msi' || fail "the signed setup's archive is not found"
tess_new_prefix "$SCRATCH/prefix-signed"
cp "$PROBE" "$(drive_c)/resource_probe.exe"
cp "$SCRATCH/signed.exe" "$(drive_c)/signed.exe"
check_version 'C:\signed.exe' "the signed setup"
tess_expect_exit 0 run_line 'C:\signed.exe /qn' || fail "the signed setup"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the signed setup did not install"
pass "signed, the setup verifies, keeps its strings and installs"

printf 'not an icon\n' >"$SCRATCH/bad.ico"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --icon "$SCRATCH/bad.ico" \
  -o "$SCRATCH/bad.exe" 2>"$SCRATCH/bad.err"
assert_eq "$?" 2 "exit code for a bad .ico"
grep -q "the icon '.*bad.ico' is not an .ico file" "$SCRATCH/bad.err" || fail "message: $(cat "$SCRATCH/bad.err")"
[ ! -e "$SCRATCH/bad.exe" ] || fail "a setup was written with a bad icon"
pass "a bad .ico is refused and nothing is written"
# The prefixes are large; only the files worth reading after a failure are kept.
rm -rf "$SCRATCH"/prefix*
