#!/usr/bin/env bash
# One configuration packed twice: online (the prerequisite is downloaded from its Url) and
# offline (--carry AppN=FILE, once per prerequisite, stores each setup and the stored
# configuration names it as a SetupFile). list, check and extract show the difference; the vendor's file is untouched; the
# offline setup runs under Wine with no server at all. Then an administrator's share: a web
# setup's /layout: copy (a "latest" prerequisite from its second address) installs on a machine
# without network; /source: a folder or a web address comes before the configuration's
# addresses; a /layout: or /source: folder that is not there, or the setup's own, is refused.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_offline
need_tools wixl wine sha256sum
tess_display || fail "no X display"
build_sample_msi
# The recording setup stands in for the prerequisites' setups: it records how it was run and
# "installs" the registry value the search looks for.
cp "$RECORDING_SETUP" "$SCRATCH/runtime-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/tools-setup.exe"
size=$(stat -c %s "$SCRATCH/runtime-setup.exe")
sum=$(sha256sum <"$SCRATCH/runtime-setup.exe" | cut -d' ' -f1)
# The configuration: App1 at the address $2, with its size and hash; App2 at the lines $3.
write_config() { # file app1-url app2-lines
  cat >"$1" <<INI
[PREREQUISITES]
App1=Contoso Runtime
App2=Contoso Tools
[App1]
Url=$2
ExactSize=$size
Sha256=$sum
CommandLine=/tag=runtime /install=Runtime:1.2
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Runtime\\Version
VerMin=1.0
[App2]
$3
CommandLine=/tag=tools /install=Tools:2.0
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Tools\\Version
[GeneralOptions]
Options=q
INI
}
# The same file for the online and the offline setup. Port 9 on the loopback: nothing listens
# there, so a download could only fail.
write_config "$SCRATCH/prereqs.ini" http://127.0.0.1:9/redist/runtime-setup.exe \
  Url=http://127.0.0.1:9/redist/tools-setup.exe
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

# Under Wine with no server, quiet: both prerequisites are installed from the archive, in
# order, with their command lines, then the package; nothing is downloaded.
tess_new_prefix "$SCRATCH/prefix"
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/offline.exe" "$(drive_c)/dist/offline.exe"
rm -f "$(drive_c)/setup-record.txt"
tess_expect_exit 0 run_line 'C:\dist\offline.exe' || fail "the offline setup"
record=$(setup_record | sed 's/ | run:.*//')
assert_eq "$record" "/tag=runtime /install=Runtime:1.2
/tag=tools /install=Tools:2.0" "the prerequisites' setups that ran"
for name in Runtime Tools; do
  wine reg query "HKLM\\Software\\Tessara Tests\\$name" /v Version >/dev/null 2>&1 ||
    fail "the $name prerequisite was not installed"
done
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed"
[ -z "$(ls "$(drive_c)/dist" | grep -v '^offline.exe$')" ] || fail "something was downloaded beside the setup"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder"
pass "with no server, the offline setup installs both prerequisites from its archive, then its package"

# The online setup, in the same situation, cannot fetch them: nothing of them runs.
tess_new_prefix "$SCRATCH/prefix-online"
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/online.exe" "$(drive_c)/dist/online.exe"
rm -f "$(drive_c)/setup-record.txt"
# A quiet run whose downloads fail has failed prerequisites: it stops with 1603, no package.
tess_expect_exit 1603 run_line 'C:\dist\online.exe' || fail "the online setup"
assert_eq "$(setup_record)" "" "setups run by the online setup without a server"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] && fail "the online setup installed the package"
wine reg query 'HKLM\Software\Tessara Tests\Runtime' /v Version >/dev/null 2>&1 &&
  fail "the online setup installed the prerequisite without a server"
pass "the online setup, without a server, installs no prerequisite and stops with 1603"
# An offline copy for a share, made from a web setup with a real server.
. "$TESSARA_ROOT/tests/support/http-server.sh"
mkdir -p "$SCRATCH/srv"
cp "$SCRATCH/runtime-setup.exe" "$SCRATCH/tools-setup.exe" "$SCRATCH/srv/"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
write_config "$SCRATCH/web.ini" "$base/redist/runtime-setup.exe" \
  "Url=$base/status=404/latest/tools-setup.exe
Url2=$base/redist/tools-setup.exe
$("$PACK" hash "$SCRATCH/tools-setup.exe")"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/web.ini" \
  -o "$SCRATCH/web.exe" || fail "packing the web setup failed"
tess_new_prefix "$SCRATCH/prefix-layout"
mkdir -p "$(drive_c)/dist" "$(drive_c)/share"
cp "$SCRATCH/web.exe" "$(drive_c)/dist/web.exe"
# Refused: a folder that is not there, the setup's own, a source folder that is not there.
for line in 'C:\dist\web.exe /layout:C:\nothere /qn' 'C:\dist\web.exe /qn /layout:"C:\dist"' \
  'C:\dist\web.exe /source:C:\nothere /qn'; do
  tess_expect_exit 1603 run_line "$line" || fail "$line"
done
grep -h '^.\{13\}Error: ' "$(tess_temp_dir)"/web_*.log | cut -c14- | tr -d '\r' | sort >"$SCRATCH/refusals"
assert_eq "$(cat "$SCRATCH/refusals")" "Error: The offline copy cannot be made in this folder.
Error: The offline copy cannot be made in this folder.
Error: The source folder cannot be found." "the refusals' messages"
tess_expect_exit 0 run_line 'C:\dist\web.exe /layout:C:\share /qn' || fail "the layout"
cmp -s "$SCRATCH/web.exe" "$(drive_c)/share/web.exe" || fail "the setup is not in the share"
for f in runtime-setup.exe tools-setup.exe; do
  cmp -s "$SCRATCH/srv/$f" "$(drive_c)/share/$f" || fail "$f is not in the share"
done
assert_eq "$(setup_record)" "" "setups run by the layout"
wine reg query 'HKLM\Software\Tessara Tests\Runtime' >/dev/null 2>&1 && fail "the layout installed something"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] && fail "the layout installed the package"
pass "/layout: copied the setup and fetched every download (the latest one from its second address), installing nothing"

# The share on a machine without network: everything found beside the setup.
kill "$server_pid"
server_pid=
tess_new_prefix "$SCRATCH/prefix-share"
cp -r "$SCRATCH/prefix-layout/drive_c/share" "$(drive_c)/share"
rm -f "$(drive_c)/setup-record.txt"
tess_expect_exit 0 run_line 'C:\share\web.exe' || fail "the setup from the share"
assert_eq "$(setup_record | sed 's/ | run:.*//')" "/tag=runtime /install=Runtime:1.2
/tag=tools /install=Tools:2.0" "the prerequisites' setups run from the share"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed from the share"
pass "the copy on the share installs both prerequisites and the package without network"

# /source: a folder, then a web address, before the (unreachable) addresses of the setup.
tess_new_prefix "$SCRATCH/prefix-source"
cp -r "$SCRATCH/prefix-layout/drive_c/share" "$(drive_c)/share"
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/web.exe" "$(drive_c)/dist/web.exe"
tess_expect_exit 0 run_line 'C:\dist\web.exe /source:C:\share' || fail "the setup with /source: a folder"
cmp -s "$SCRATCH/tools-setup.exe" "$(drive_c)/dist/tools-setup.exe" || fail "the share's copy was not taken"
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
tess_new_prefix "$SCRATCH/prefix-source-web"
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/web.exe" "$(drive_c)/dist/web.exe"
tess_expect_exit 0 run_line "C:\dist\web.exe -SOURCE:$base/mirror/ /qn" || fail "the setup with /source: a web address"
assert_eq "$(grep -c '^/mirror/' "$SCRATCH/requests.log")" 2 "requests to the source web address"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed"
pass "/source: a folder or a web address serves the downloads before the configuration's addresses"

# The prefixes are large; only the files worth reading after a failure are kept.
rm -rf "$SCRATCH"/prefix*
