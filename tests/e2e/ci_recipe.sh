#!/usr/bin/env bash
# The CI recipe of docs/ci.md, run exactly as the page shows it: its script is taken out of the
# page and run against a release folder made of this build, the sample package, a configuration
# with one downloaded prerequisite and a throw-away certificate. Both signed setups verify; the
# offline one installs under Wine with no server. A broken input fails the job and leaves
# nothing in dist/.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch ci_recipe
need_tools wixl wine convert osslsigncode openssl sha256sum
tess_display || fail "no X display"

job="$SCRATCH/job"
mkdir -p "$job/out" "$job/redist" "$job/branding" "$job/ci" "$SCRATCH/release"
awk '/^```bash$/ { inside = 1; next } inside && /^```$/ { exit } inside { print }' \
  "$TESSARA_ROOT/docs/ci.md" >"$job/ci/build-setup.sh"
[ -s "$job/ci/build-setup.sh" ] || fail "no script found in docs/ci.md"

# The release: the stub and the host packer of this build.
cp "$STUB" "$PACK" "$SCRATCH/release/"
# The inputs the page lists.
build_sample_msi
cp "$SCRATCH/pkg/sample.msi" "$job/out/Product.msi"
fake_cab "$job/out/data1.cab" 4096
cp "$RECORDING_SETUP" "$job/redist/runtime-setup.exe"
convert -size 32x32 xc:'#208040' "$job/branding/product.ico" || fail "convert could not make an icon"
cat >"$job/prereqs.ini" <<INI
[PREREQUISITES]
App1=Contoso Runtime
[App1]
Url=http://127.0.0.1:9/redist/runtime-setup.exe
ExactSize=$(stat -c %s "$job/redist/runtime-setup.exe")
Sha256=$(sha256sum <"$job/redist/runtime-setup.exe" | cut -d' ' -f1)
CommandLine=/tag=ci /install=Runtime:1.0
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Runtime\\Version
[GeneralOptions]
Options=q
INI
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Contoso CI Signing" -days 2 \
  -keyout "$SCRATCH/key.pem" -out "$SCRATCH/cert.pem" >/dev/null 2>&1 || fail "openssl could not make a certificate"

run_recipe() { # extra environment assignments...
  (cd "$job" && env TESSARA_DIR="$SCRATCH/release" SIGN_CERT="$SCRATCH/cert.pem" \
    SIGN_KEY="$SCRATCH/key.pem" SIGN_CA="$SCRATCH/cert.pem" VERSION=2.4.1 "$@" \
    bash ci/build-setup.sh)
}

run_recipe >"$SCRATCH/job.log" 2>&1 || fail "the recipe failed: $(tail -20 "$SCRATCH/job.log")"
for kind in online offline; do
  setup="$job/dist/ContosoSuite-2.4.1-$kind.exe"
  [ -f "$setup" ] || fail "the recipe did not leave $setup"
  osslsigncode verify -CAfile "$SCRATCH/cert.pem" "$setup" >/dev/null 2>&1 || fail "$kind: the signature does not verify"
done
grep -qx 'Carried by the setup: App1 (runtime-setup.exe)' "$SCRATCH/job.log" || fail "the log does not show the carried prerequisite"
grep -qx 'Downloaded while the setup runs: App1 (http://127.0.0.1:9/redist/runtime-setup.exe)' "$SCRATCH/job.log" ||
  fail "the log does not show the downloaded prerequisite"
pass "the recipe builds, checks, signs and verifies the online and the offline setup"

tess_new_prefix "$SCRATCH/prefix"
cp "$job/dist/ContosoSuite-2.4.1-offline.exe" "$(drive_c)/setup.exe"
rm -f "$(drive_c)/setup-record.txt"
tess_expect_exit 0 run_line 'C:\setup.exe' || fail "the signed offline setup"
setup_record | grep -q '^/tag=ci /install=Runtime:1.0 ' || fail "the carried prerequisite did not run: $(setup_record)"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the signed offline setup did not install"
pass "the signed offline setup installs its prerequisite and package under Wine with no server"

# Any failing step fails the job, and dist/ keeps no setup.
cp "$job/prereqs.ini" "$SCRATCH/prereqs.good"
sed -i '/^SearchType=/d' "$job/prereqs.ini"
run_recipe >"$SCRATCH/bad-config.log" 2>&1 && fail "the recipe passed with a broken configuration"
[ -z "$(ls "$job/dist")" ] || fail "a broken configuration left setups in dist/"
cp "$SCRATCH/prereqs.good" "$job/prereqs.ini"
# Another program than the one the Url serves: the online setup is built, the offline one not.
cp "$DRIVER" "$job/redist/runtime-setup.exe"
run_recipe >"$SCRATCH/bad-carry.log" 2>&1 && fail "the recipe passed with a wrong carried setup"
grep -q "bytes, but the prerequisite's ExactSize is" "$SCRATCH/bad-carry.log" || fail "no reason given: $(tail -3 "$SCRATCH/bad-carry.log")"
[ -z "$(ls "$job/dist")" ] || fail "a wrong carried setup left setups in dist/"
cp "$RECORDING_SETUP" "$job/redist/runtime-setup.exe"
run_recipe SIGN_KEY="$SCRATCH/missing-key.pem" >"$SCRATCH/bad-key.log" 2>&1 && fail "the recipe passed without a key"
[ -z "$(ls "$job/dist")" ] || fail "a failed signing left setups in dist/"
pass "a broken configuration, a wrong carried file or a missing key fails the job"
# The prefixes are large; only the files worth reading after a failure are kept.
rm -rf "$SCRATCH"/prefix*
