#!/usr/bin/env bash
# A packed setup with five prerequisites, run quietly as a user (or a deployment tool) runs it,
# on a network that drops each download twice: one carried in the setup, one downloaded over
# HTTP with its Sha256 (its connection cut twice), one already installed, one needed only on
# the other system family, and a "latest" one without ExactSize whose first address answers
# 404 and whose second drops twice, resumed against the length the server announces. Each
# dropped download is tried again and resumed; the three that are needed run, in configuration
# order, with their command lines, while the restart value is present; then Windows Installer
# installs the package for real, with the value gone. The log names every failed address and
# what failed.
. "$(dirname "$0")/../support/setup-e2e.sh"
. "$TESSARA_ROOT/tests/support/http-server.sh"
tess_scratch prereq_quiet
need_tools wixl wine python3 sha256sum
tess_display || fail "no X display"
build_sample_msi
mkdir -p "$SCRATCH/srv"
for name in carried-setup present-setup other-family-setup; do
  cp "$RECORDING_SETUP" "$SCRATCH/$name.exe"
done
cp "$RECORDING_SETUP" "$SCRATCH/srv/dl-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/srv/latest-setup.exe"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"

cat >"$SCRATCH/sample.ini" <<INI
[PREREQUISITES]
App1=Carried Runtime
App2=Downloaded Runtime
App3=Present Runtime
App4=Other Family Runtime
App5=Latest Runtime

[App1]
SetupFile=carried-setup.exe
CommandLine=/tag=carried /install=Carried:1.2
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Carried\\Version
VerMin=1.0

[App2]
Url=$base/times=2/cut=200000/dl-setup.exe
ExactSize=$(stat -c %s "$SCRATCH/srv/dl-setup.exe")
$("$PACK" hash "$SCRATCH/srv/dl-setup.exe")
CommandLine=/tag=downloaded /install=Downloaded:2.0
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Downloaded\\Version
VerMin=2.0

[App3]
SetupFile=present-setup.exe
CommandLine=/tag=present
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Present\\Version
VerMin=3.0
VerMax=4.0

[App4]
SetupFile=other-family-setup.exe
CommandLine=/tag=other-family
TargetOS=0
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Other\\Version

[App5]
Url=$base/status=404/latest-setup.exe
Url2=$base/times=2/cut=200000/latest-setup.exe
$("$PACK" hash "$SCRATCH/srv/latest-setup.exe")
CommandLine=/tag=latest /install=Latest:5.0
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Latest\\Version
VerMin=5.0

[GeneralOptions]
MainAppCmdLine=/qn /l*v C:\\main-install.log
Options=q
INI
"$PACK" check "$SCRATCH/sample.ini" || fail "the configuration does not pass check"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/carried-setup.exe" --prereq "$SCRATCH/present-setup.exe" \
  --prereq "$SCRATCH/other-family-setup.exe" -o "$SCRATCH/setup.exe" || fail "packing failed"

tess_new_prefix "$SCRATCH/prefix"
record_package_launches
wine reg add 'HKLM\Software\Tessara Tests\Present' /v Version /d 3.5.1 /f >/dev/null 2>&1
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/setup.exe" "$(drive_c)/dist/setup.exe"

assert_eq "$(run_line_code 'C:\dist\setup.exe')" 0 "exit code of the quiet run"

value='"C:\dist\setup.exe"'
temp_win='C:\users\'"$(id -un)"'\Temp\<run>'
expected="/tag=carried /install=Carried:1.2 | run: $value
/tag=downloaded /install=Downloaded:2.0 | run: $value
/tag=latest /install=Latest:5.0 | run: $value
\"$temp_win\\sample.msi\" /qn /l*v C:\\main-install.log | run: none"
actual=$(setup_record)
[ "$actual" = "$expected" ] || fail "what ran, in order, and the restart value each time:
$actual
expected:
$expected"
pass "only the carried and the two downloaded setups ran, in order, with their command lines, the value present"
pass "the package was launched with MainAppCmdLine once the value was removed"

[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package's file was not installed"
wine reg query 'HKLM\Software\Tessara Sample' /v Installed 2>/dev/null | grep -q '1.0.0' ||
  fail "the package's registry value is missing"
grep -qi "Tessara Sample" "$(drive_c)/main-install.log" 2>/dev/null || fail "no Windows Installer log of the package"
pass "Windows Installer installed the package"

cmp -s "$SCRATCH/srv/dl-setup.exe" "$(drive_c)/dist/dl-setup.exe" || fail "the downloaded setup was not kept beside the setup"
cmp -s "$SCRATCH/srv/latest-setup.exe" "$(drive_c)/dist/latest-setup.exe" || fail "the latest setup was not kept beside the setup"
# Cut twice, each try again asking for the rest; the latest one's first address refused once.
for dropped in dl-setup.exe latest-setup.exe; do
  assert_eq "$(grep -c "^/times=2/cut=200000/$dropped range=bytes=[1-9]" "$SCRATCH/requests.log")" 2 \
    "resumed tries of $dropped"
done
assert_eq "$(grep -c '^/status=404/latest-setup.exe ' "$SCRATCH/requests.log")" 1 "requests to the refusing address"
log=$(ls "$(tess_temp_dir)"/setup_*.log)
grep -q "Download $base/status=404/latest-setup.exe: HTTP status (404)" "$log" ||
  fail "the log does not name the refused address: $(grep Download "$log")"
for dropped in dl-setup.exe latest-setup.exe; do
  dropped=times=2/cut=200000/$dropped
  [ "$(grep -c "Download $base/$dropped: " "$log")" -eq 2 ] ||
    fail "the log does not name $dropped twice: $(grep Download "$log")"
done
pass "each dropped download was tried again and resumed, the mirror served the latest file, the log names each failure"
leftovers=$(temp_leftovers)
[ -z "$leftovers" ] || fail "files left in the temporary folder: $leftovers"
pass "the downloaded setup stays beside the setup; the carried one and the package are deleted"
assert_eq "$(run_values)" "" "Run values after the run"
pass "no restart value after the run"
rm -rf "$SCRATCH/prefix"
