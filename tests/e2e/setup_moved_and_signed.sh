#!/usr/bin/env bash
# Setups whose archive no longer sits where it was built still install: moved by d bytes,
# followed by stray bytes, and signed with Authenticode after packing; a signed setup runs its
# own package even when somebody hid another setup's archive in its certificate data; a signed
# setup packed anew and signed again installs.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_moved_and_signed
need_tools wixl wine python3 osslsigncode openssl
tess_display || fail "no X display"
build_sample_msi
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" -o "$SCRATCH/good.exe" || fail "packing failed"
patch="$TESSARA_ROOT/tests/support/patch_setup.py"

cp "$SCRATCH/good.exe" "$SCRATCH/moved.exe"
python3 "$patch" move "$SCRATCH/moved.exe" 4099
cp "$SCRATCH/good.exe" "$SCRATCH/tail.exe"
python3 "$patch" tail "$SCRATCH/tail.exe" 2036
cp "$SCRATCH/good.exe" "$SCRATCH/longtail.exe"
python3 "$patch" tail "$SCRATCH/longtail.exe" 5000
# The patches did what they say: the archive read from its new place (the host packer reads
# as the setup does), the bytes really added.
offset_delta() { "$PACK" list "$1" | awk '$1 == "offsetDelta" { print $2 }'; }
size_of() { stat -c %s "$1"; }
good_size=$(size_of "$SCRATCH/good.exe")
assert_eq "$(offset_delta "$SCRATCH/good.exe")" 0 "offsetDelta of the packed setup"
assert_eq "$(offset_delta "$SCRATCH/moved.exe")" 4099 "offsetDelta of the moved setup"
assert_eq "$(size_of "$SCRATCH/moved.exe")" $((good_size + 4099)) "size of the moved setup"
for t in tail:2036 longtail:5000; do
  assert_eq "$(size_of "$SCRATCH/${t%:*}.exe")" $((good_size + ${t#*:})) "size of the ${t%:*} setup"
  assert_eq "$(offset_delta "$SCRATCH/${t%:*}.exe")" 0 "offsetDelta of the ${t%:*} setup"
done

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Tessara Test Signing" -days 2 \
  -keyout "$SCRATCH/key.pem" -out "$SCRATCH/cert.pem" >/dev/null 2>&1 || fail "openssl could not make a test certificate"
osslsigncode sign -certs "$SCRATCH/cert.pem" -key "$SCRATCH/key.pem" -n "Tessara Sample" \
  -in "$SCRATCH/good.exe" -out "$SCRATCH/signed.exe" >/dev/null || fail "osslsigncode could not sign the setup"
osslsigncode verify -CAfile "$SCRATCH/cert.pem" "$SCRATCH/signed.exe" >/dev/null 2>&1 ||
  fail "the signed setup does not verify"
[ "$(stat -c %s "$SCRATCH/signed.exe")" -gt "$(stat -c %s "$SCRATCH/good.exe")" ] || fail "signing added nothing"
assert_eq "$(offset_delta "$SCRATCH/signed.exe")" 0 "offsetDelta of the signed setup"

# The vendor packs the signed setup anew and signs the result: the old signature, which could
# not cover the new setup, is left out with a word; the new one verifies and the setup installs.
"$PACK" pack --stub "$SCRATCH/signed.exe" --replace --msi "$SCRATCH/pkg/sample.msi" \
  -o "$SCRATCH/repacked.exe" 2>"$SCRATCH/repack.err" || fail "packing the signed setup anew failed"
grep -q "is signed; that signature cannot cover the packed setup" "$SCRATCH/repack.err" ||
  fail "the packer did not say that the old signature is left out"
osslsigncode sign -certs "$SCRATCH/cert.pem" -key "$SCRATCH/key.pem" -n "Tessara Sample" \
  -in "$SCRATCH/repacked.exe" -out "$SCRATCH/resigned.exe" >/dev/null || fail "osslsigncode could not sign the repacked setup"
osslsigncode verify -CAfile "$SCRATCH/cert.pem" "$SCRATCH/resigned.exe" >/dev/null 2>&1 ||
  fail "the repacked setup, signed again, does not verify"

# The foreign archive's package would install nothing: the setup would fail to install.
mkdir -p "$SCRATCH/foreign"
fake_msi "$SCRATCH/foreign/sample.msi" 3000
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/foreign/sample.msi" -o "$SCRATCH/foreign.exe" ||
  fail "packing the foreign setup failed"
cp "$SCRATCH/signed.exe" "$SCRATCH/hidden.exe"
python3 "$patch" hide "$SCRATCH/hidden.exe" "$SCRATCH/foreign.exe" || fail "could not hide the archive"
"$PACK" list "$SCRATCH/hidden.exe" | grep -q " 3000 " && fail "list shows the foreign archive"

for setup in moved tail longtail signed resigned hidden; do
  tess_new_prefix "$SCRATCH/prefix-$setup"
  cp "$SCRATCH/$setup.exe" "$(drive_c)/setup.exe"
  tess_expect_exit 0 run_wine 'C:\setup.exe' /qn || fail "$setup: setup run"
  [ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "$setup: the package was not installed"
  [ -z "$(temp_leftovers)" ] || fail "$setup: files left in the temporary folder"
  pass "$setup setup installs"
  rm -rf "$SCRATCH/prefix-$setup" # a prefix is large; five would fill a small disk
done
