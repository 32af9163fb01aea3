#!/usr/bin/env bash
# A restart in the middle: the setup lies in a folder whose name holds a blank, with a decoy
# program where the unquoted path would lead (C:\Ann.exe for C:\Ann Lee\setup.exe). Its run is
# ended, as a restart ends it, while a prerequisite's setup runs through the wizard; the restart
# value stays. At the next logon (wineboot) the system runs the value's command: the setup
# itself, not the decoy. That run finds the prerequisite installed, shows no wizard, installs
# the package with MainAppCmdLine (not the first run's command line) and removes the value.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch prereq_restart
need_tools wixl wine
tess_display || fail "no X display"
STEPS="$TESSARA_WIN_BUILD/tests/wizard_steps.exe"
build_sample_msi
cp "$RECORDING_SETUP" "$SCRATCH/restarting-setup.exe"
cat >"$SCRATCH/sample.ini" <<'INI'
[PREREQUISITES]
App1=Tessara Restarting Runtime

[App1]
SetupFile=restarting-setup.exe
CommandLine=/tag=restarting /install=Restarting:1.0 /hang
SearchType=2
SearchString=HKLM\Software\Tessara Tests\Restarting\Version
VerMin=1.0

[GeneralOptions]
MainAppCmdLine=/qn /l*v C:\after-restart.log
INI
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/restarting-setup.exe" -o "$SCRATCH/setup.exe" >/dev/null || fail "packing failed"

tess_new_prefix "$SCRATCH/prefix"
record_package_launches
mkdir -p "$(drive_c)/Ann Lee"
cp "$SCRATCH/setup.exe" "$(drive_c)/Ann Lee/setup.exe"
cp "$RECORDING_SETUP" "$(drive_c)/Ann.exe"
cp "$STEPS" "$(drive_c)/"

# The first run, with a command line of its own, through the wizard into the prerequisite.
# It is ended from outside, so it has no exit code to check; the run at logon is started by
# the system, so its outcome is checked by what it did.
# (No UI option in it: /qn would make the run unattended, with no wizard and no value.)
timeout 300 wine 'C:\Ann Lee\setup.exe' /l*v 'C:\first-run.log' >/dev/null 2>&1 &
first=$!
wine 'C:\wizard_steps.exe' 90 'C:\' next next 2>/dev/null | tr -d '\r' >"$SCRATCH/steps.log" ||
  fail "could not work the wizard: $(cat "$SCRATCH/steps.log")"
for _ in $(seq 300); do
  setup_record | grep -q '^/tag=restarting' && break
  sleep 0.2
done
value='"C:\Ann Lee\setup.exe"'
assert_eq "$(setup_record)" "/tag=restarting /install=Restarting:1.0 /hang | run: $value" \
  "the prerequisite's setup and the value while it runs"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v 'C:\Ann Lee\setup.exe' 2>/dev/null |
  tr -d '\r' | grep -qF "REG_SZ    $value" || fail "the value is not named by the bare path with the quoted path as data"
pass "while the prerequisite runs, the value names the setup, its data the quoted path"

# The restart: every process of the session ends at once.
wineserver -k
wait $first
assert_eq "$(run_values)" "$value" "Run values after the run was ended"
pass "the value survives the end of the run"

# The next logon.
rm -f "$(drive_c)/setup-record.txt"
timeout 120 wine wineboot >/dev/null 2>&1
timeout 300 wineserver -w || fail "the restarted run did not end by itself (a wizard?)"
assert_eq "$(setup_record)" "\"C:\\users\\$(id -un)\\Temp\\<run>\\sample.msi\" /qn /l*v C:\\after-restart.log | run: none" \
  "what the restarted run launched"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the restarted run did not install the package"
[ -s "$(drive_c)/after-restart.log" ] || fail "the package did not get MainAppCmdLine"
[ ! -e "$(drive_c)/first-run.log" ] || fail "the first run's command line reached the package"
assert_eq "$(run_values)" "" "Run values after the restarted run"
pass "at logon the setup itself ran: no wizard, the package installed with MainAppCmdLine, the value removed"
pass "the decoy C:\\Ann.exe was never started"

# The control: the same value with the path unquoted, as it would be without the quotes, starts
# the decoy at logon.
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v 'C:\Ann Lee\setup.exe' \
  /d 'C:\Ann Lee\setup.exe' /f >/dev/null 2>&1
rm -f "$(drive_c)/setup-record.txt"
timeout 120 wine wineboot >/dev/null 2>&1
timeout 300 wineserver -w || fail "the logon with the unquoted value did not end"
case "$(setup_record)" in
Lee\\setup.exe*) pass "control: unquoted, the same value starts C:\\Ann.exe instead of the setup" ;;
*) fail "control: the unquoted value did not start the decoy; saw: $(setup_record)" ;;
esac
rm -rf "$SCRATCH/prefix"
