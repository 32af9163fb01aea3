#!/usr/bin/env bash
# Folders the ANSI code page cannot spell (Cyrillic and Japanese on a Western system): a setup
# in C:\Тест 日本\ and one whose temporary folder is C:\Врем 一時\ install their package; the
# command line's paths, the run log, extract-only, prerequisites (carried, downloaded beside the
# setup, found by a [TempFolder] search) and the restart value work there too.
. "$(dirname "$0")/../support/setup-e2e.sh"
. "$TESSARA_ROOT/tests/support/http-server.sh"
# Wine spells Linux file names, and reads its command line, in the locale's character set.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
tess_scratch setup_unicode_paths
need_tools wixl wine python3
tess_display || fail "no X display"
build_sample_msi
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" -o "$SCRATCH/setup.exe" >/dev/null || fail "packing failed"
dir='Тест 日本'
tmp='Врем 一時'
installed() {
  [ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "$1: the package was not installed"
}
use_temp() {
  mkdir -p "$(drive_c)/$tmp"
  for v in TEMP TMP; do wine reg add 'HKCU\Environment' /v $v /d "C:\\$tmp" /f >/dev/null 2>&1; done
  wineserver -w
}
# The record's package launch from a folder of the run's own in C:\Врем 一時.
launched_from_temp() {
  [[ $(setup_record) =~ ^\"C:\\$tmp\\tsr[0-9a-f]{8}\\sample\.msi\"\ /qn\ \|\ run:\ none$ ]] ||
    fail "$1: the package was not launched from C:\\$tmp\\tsr…: '$(setup_record)'"
}

tess_new_prefix "$SCRATCH/prefix-dir"
mkdir -p "$(drive_c)/$dir" "$(drive_c)/Выход"
cp "$SCRATCH/setup.exe" "$(drive_c)/$dir/"
tess_expect_exit 0 run_wine "C:\\$dir\\setup.exe" /qn /l*v "C:\\$dir\\install.log" || fail "setup in C:\\$dir"
installed "from C:\\$dir"
[ -s "$(drive_c)/$dir/install.log" ] || fail "the log path on the command line did not reach Windows Installer"
grep -qF "Setup C:\\$dir\\setup.exe, " "$(drive_c)/$dir"/install_*.log || fail "no run log naming the setup in C:\\$dir"
[ -z "$(temp_leftovers)" ] || fail "left in the temporary folder: $(temp_leftovers)"
tess_expect_exit 0 run_wine "C:\\$dir\\setup.exe" '/extract:C:\Выход' || fail "extract-only into C:\\Выход"
cmp -s "$SCRATCH/pkg/sample.msi" "$(drive_c)/Выход/sample.msi" || fail "not extracted into C:\\Выход"
pass "a setup in C:\\$dir installs; its command line's log path, its run log and /extract: work"

tess_new_prefix "$SCRATCH/prefix-temp"
use_temp
record_package_launches
cp "$SCRATCH/setup.exe" "$(drive_c)/"
tess_expect_exit 0 run_wine 'C:\setup.exe' /qn || fail "setup with TEMP=C:\\$tmp"
launched_from_temp "TEMP=C:\\$tmp"
installed "with TEMP=C:\\$tmp"
[ -z "$(find "$(drive_c)/$tmp" -name 'tsr*')" ] || fail "the run's folder was left in C:\\$tmp"
ls "$(drive_c)/$tmp"/setup_*.log >/dev/null 2>&1 || fail "no run log in C:\\$tmp"
pass "with TEMP=C:\\$tmp the package is extracted into C:\\$tmp\\tsr…, launched, installed and removed"

# Both at once, quiet, with prerequisites; the carried setup hangs as one that restarts would.
mkdir -p "$SCRATCH/srv"
cp "$RECORDING_SETUP" "$SCRATCH/srv/dl-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/carried-setup.exe"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
search='SearchType=2
SearchString=HKLM\Software\Tessara Tests'
cat >"$SCRATCH/prereqs.ini" <<INI
[PREREQUISITES]
App1=Downloaded
App2=In Temp
App3=Carried
[App1]
Url=$base/dl-setup.exe
ExactSize=$(stat -c %s "$SCRATCH/srv/dl-setup.exe")
CommandLine=/tag=downloaded /install=Downloaded:2.0
$search\\Downloaded\\Version
[App2]
SetupFile=carried-setup.exe
CommandLine=/tag=in-temp
SearchType=0
SearchString=[TempFolder]marker.txt
[App3]
SetupFile=carried-setup.exe
CommandLine=/tag=carried /install=Carried:1.2 /hang
$search\\Carried\\Version
[GeneralOptions]
MainAppCmdLine=/qn
Options=q
INI
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/prereqs.ini" \
  --prereq "$SCRATCH/carried-setup.exe" -o "$SCRATCH/prereq-setup.exe" >/dev/null || fail "packing failed"
tess_new_prefix "$SCRATCH/prefix-prereqs"
use_temp
record_package_launches
echo found >"$(drive_c)/$tmp/marker.txt"
mkdir -p "$(drive_c)/$dir"
cp "$SCRATCH/prereq-setup.exe" "$(drive_c)/$dir/setup.exe"
timeout 300 wine "C:\\$dir\\setup.exe" >/dev/null 2>&1 &
first=$!
for _ in $(seq 600); do
  grep -q '/tag=carried' "$(drive_c)/setup-record.txt" 2>/dev/null || ! kill -0 $first 2>/dev/null && break
  sleep 0.2
done
value="\"C:\\$dir\\setup.exe\""
assert_eq "$(setup_record)" "/tag=downloaded /install=Downloaded:2.0 | run: $value
/tag=carried /install=Carried:1.2 /hang | run: $value" "what ran, and the restart value each time"
cmp -s "$SCRATCH/srv/dl-setup.exe" "$(drive_c)/$dir/dl-setup.exe" || fail "the download is not beside the setup"
pass "the download into C:\\$dir and the carried setup ran, the restart value naming the setup; the [TempFolder] search found its file"
# The restart: the session ends; the next logon runs the value, and the setup installs.
wineserver -k
wait $first
rm -f "$(drive_c)/setup-record.txt"
timeout 120 wine wineboot >/dev/null 2>&1
timeout 300 wineserver -w || fail "the restarted run did not end by itself"
launched_from_temp "after the restart"
installed "after the restart"
assert_eq "$(run_values)" "" "Run values after the restarted run"
pass "at the next logon the value started the setup in C:\\$dir again, which installed the package"
