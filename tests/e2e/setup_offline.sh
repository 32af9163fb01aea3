#!/usr/bin/env bash
# One configuration packed twice: online (the prerequisite is downloaded from its Url) and
# offline (--carry AppN=FILE, once per prerequisite, stores each setup and the stored
# configuration names it as a SetupFile). list, check and extract show the difference; the vendor's file is untouched; the
# offline setup runs under Wine with no server at all.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_offline
need_tools wixl wine sha256sum
tess_display || fail "no X display"
build_sample_msi
# A real Windows program stands in for the prerequisite's setup: it records how it was run.
cp "$RECORDER" "$SCRATCH/runtime-setup.exe"
cp "$RECORDER" "$SCRATCH/tools-setup.exe"
size=$(stat -c %s "$SCRATCH/runtime-setup.exe")
sum=$(sha256sum <"$SCRATCH/runtime-setup.exe" | cut -d' ' -f1)
# Port 9 on the loopback: nothing listens there, so a download could only fail.
cat >"$SCRATCH/prereqs.ini" <<INI
; the same file for the online and the offline setup
[PREREQUISITES]
App1=Contoso Runtime
App2=Contoso Tools
[App1]
Url=http://127.0.0.1:9/redist/runtime-setup.exe
ExactSize=$size
Sha256=$sum
CommandLine=/quiet /norestart
SearchType=1
SearchString=HKLM\\SOFTWARE\\Contoso\\Runtime
VerMin=1.0
[App2]
Url=http://127.0.0.1:9/redist/tools-setup.exe
SearchType=1
SearchString=HKLM\\SOFTWARE\\Contoso\\Tools
[GeneralOptions]
Options=q
INI
cp "$SCRATCH/prereqs.ini" "$SCRATCH/prereqs.orig"

"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/prereqs.ini" \
  -o "$SCRATCH/online.exe" || fail "packing the online setup failed"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/prereqs.ini" \
  --carry "App1=$SCRATCH/runtime-setup.exe" --carry "App2=$SCRATCH/tools-setup.exe" \
  -o "$SCRATCH/offline.exe" || fail "packing the offline setup failed"
cmp -s "$SCRATCH/prereqs.ini" "$SCRATCH/prereqs.orig" || fail "packing changed the vendor's configuration"
echo "online setup: $(stat -c %s "$SCRATCH/online.exe") bytes; offline setup: $(stat -c %s "$SCRATCH/offline.exe") bytes"

"$PACK" list "$SCRATCH/offline.exe" >"$SCRATCH/offline.list" || fail "list of the offline setup failed"
grep -qE "^ *PrerequisiteSetup +$size .* runtime-setup.exe$" "$SCRATCH/offline.list" ||
  fail "the offline setup does not carry the prerequisite: $(cat "$SCRATCH/offline.list")"
"$PACK" list "$SCRATCH/online.exe" | grep -q PrerequisiteSetup && fail "the online setup carries a prerequisite"
grep -qE " tools-setup.exe$" "$SCRATCH/offline.list" || fail "the offline setup does not carry App2"
pass "the offline setup carries both setups; the online one carries nothing"

"$PACK" check "$SCRATCH/offline.exe" >"$SCRATCH/offline.check" || fail "check of the offline setup failed: $(cat "$SCRATCH/offline.check")"
grep -qx "Configuration: stored in $SCRATCH/offline.exe" "$SCRATCH/offline.check" ||
  fail "check did not read the configuration stored in the setup"
grep -qx 'Carried by the setup: App1 (runtime-setup.exe), App2 (tools-setup.exe)' "$SCRATCH/offline.check" ||
  fail "check does not show both as carried: $(cat "$SCRATCH/offline.check")"
grep -qx 'Downloaded while the setup runs: none' "$SCRATCH/offline.check" || fail "check shows downloads"
"$PACK" check "$SCRATCH/online.exe" >"$SCRATCH/online.check" || fail "check of the online setup failed"
grep -qx 'Carried by the setup: none' "$SCRATCH/online.check" || fail "the online setup shows something carried"
grep -qx 'Downloaded while the setup runs: App1 (http://127.0.0.1:9/redist/runtime-setup.exe), App2 (http://127.0.0.1:9/redist/tools-setup.exe)' \
  "$SCRATCH/online.check" || fail "check does not show the online setup's downloads: $(cat "$SCRATCH/online.check")"
pass "check tells carried and downloaded prerequisites apart"

"$PACK" extract "$SCRATCH/offline.exe" "$SCRATCH/x" >/dev/null || fail "extract failed"
cmp -s "$SCRATCH/x/runtime-setup.exe" "$SCRATCH/runtime-setup.exe" || fail "the carried setup is not byte-identical"
sed -e 's|^Url=http://127.0.0.1:9/redist/runtime-setup.exe$|SetupFile=runtime-setup.exe|' \
  -e 's|^Url=http://127.0.0.1:9/redist/tools-setup.exe$|SetupFile=tools-setup.exe|' \
  "$SCRATCH/prereqs.ini" >"$SCRATCH/expected.ini"
cmp -s "$SCRATCH/x/sample.ini" "$SCRATCH/expected.ini" || {
  diff "$SCRATCH/expected.ini" "$SCRATCH/x/sample.ini"
  fail "the stored configuration is not the vendor's with each Url turned into SetupFile"
}
pass "the stored configuration differs from the vendor's only in the carried prerequisites' source"

# A file that is not the download the configuration describes is refused.
mkdir -p "$SCRATCH/other"
cp "$SCRATCH/runtime-setup.exe" "$SCRATCH/other/runtime-setup.exe"
printf 'X' | dd of="$SCRATCH/other/runtime-setup.exe" bs=1 seek=200 conv=notrunc 2>/dev/null
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/prereqs.ini" \
  --carry "App1=$SCRATCH/other/runtime-setup.exe" -o "$SCRATCH/wrong.exe" 2>"$SCRATCH/wrong.err"
assert_eq "$?" 2 "exit code for a carried file with another hash"
grep -q "does not match the prerequisite's Sha256" "$SCRATCH/wrong.err" || fail "message: $(cat "$SCRATCH/wrong.err")"
[ ! -e "$SCRATCH/wrong.exe" ] || fail "a setup was written for a wrong file"
pass "a carried file with another Sha256 is refused"

# Under Wine with no server, quiet: the offline setup runs to the end and installs its package.
tess_new_prefix "$SCRATCH/prefix"
cp "$SCRATCH/offline.exe" "$(drive_c)/offline.exe"
tess_expect_exit 0 run_line 'C:\offline.exe' || fail "the offline setup"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder"
pass "the offline setup runs without a server and installs its package"
# The prefixes are large; only the files worth reading after a failure are kept.
rm -rf "$SCRATCH"/prefix*
