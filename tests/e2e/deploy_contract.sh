#!/usr/bin/env bash
# A setup with two carried prerequisites (A, then B), run as deployment tools and users run it.
# Each prerequisite's setup is told its exit code and whether it installs what its search
# finds. Every row of the exit-code table is checked with what ran (in order, with the restart
# value as each saw it) and the log's lines: unattended from the command line (/qn, -QN,
# /quiet, /passive: no wizard, no box, no restart value), quiet through Options=q (the value
# stays when it stops for a restart), through the wizard (the restart box's No keeps the
# value), and a killed run's log.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch deploy_contract
need_tools wixl wine
tess_display || fail "no X display"
build_sample_msi
cp "$RECORDING_SETUP" "$SCRATCH/a-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/b-setup.exe"
tess_new_prefix "$SCRATCH/prefix"
record_package_launches
cp "$TESSARA_WIN_BUILD/tests/wizard_steps.exe" "$DRIVER" "$(drive_c)/"

make_setup() { # name, App1 arguments, App2 arguments, more App1 keys, more general options
  printf '[PREREQUISITES]\nApp1=Runtime A\nApp2=Runtime B\n[App1]\nSetupFile=a-setup.exe\nCommandLine=/tag=a %s\nSearchType=2\nSearchString=HKLM\\Software\\Tessara Tests\\A\\Version\nVerMin=1.0\n%s\n[App2]\nSetupFile=b-setup.exe\nCommandLine=/tag=b %s\nSearchType=2\nSearchString=HKLM\\Software\\Tessara Tests\\B\\Version\nVerMin=1.0\n[GeneralOptions]\nMainAppCmdLine=/qn\n%s\n' \
    "$2" "${4:-}" "$3" "${5:-}" >"$SCRATCH/$1.ini"
  "$PACK" check "$SCRATCH/$1.ini" >"$SCRATCH/$1.check" 2>&1 || fail "$1: check refused the configuration"
  "$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/$1.ini" \
    --prereq "$SCRATCH/a-setup.exe" --prereq "$SCRATCH/b-setup.exe" -o "$(drive_c)/$1.exe" >/dev/null ||
    fail "$1: packing failed"
}
# What ran, one word each: the tag (or "package") and the Run value it saw.
ran() {
  setup_record | sed -E 's/^\/tag=([a-z]+).*\| run: (.*)$/\1(\2)/; s/^".*sample\.msi".*\| run: (.*)$/package(\1)/' |
    tr '\n' ' '
}
fresh() {
  wine reg delete 'HKLM\Software\Tessara Tests' /f >/dev/null 2>&1
  wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /va /f >/dev/null 2>&1
  rm -f "$(drive_c)/setup-record.txt" "$(tess_temp_dir)"/*.log
}
# The newest of the setup's own logs (<name>_<date>_<time>_<ms>.log): Windows Installer's log
# may lie in the same folder and be written as late.
latest_log() {
  cat "$(ls -t "${1:-$(tess_temp_dir)}"/*_[0-9]*_[0-9]*_[0-9]*.log 2>/dev/null | head -1)" 2>/dev/null |
    tr -d '\r'
}
# case: setup, its command line, expected exit code, expected runs, log lines expected
quiet_case() {
  local setup=$1 line=$2 code=$3 runs=$4 logged
  shift 4
  fresh
  assert_eq "$(run_line_code "C:\\$setup.exe $line")" "$code" "$setup $line: exit code"
  assert_eq "$(ran)" "$runs" "$setup $line: what ran"
  for logged in "$@" "Exit code $code"; do
    latest_log | grep -qF "$logged" || fail "$setup $line: the log lacks '$logged':
$(latest_log)"
  done
  pass "$setup $line: $code, ran: $runs"
}
none='"C:\restart.exe"'

make_setup pending '/install=A:1.0 /exit=3010' '/install=B:1.0 /exit=1638'
mkdir -p "$(drive_c)/logs"
fresh
assert_eq "$(run_line_code 'C:\pending.exe /qn /l*v C:\logs\main.log')" 3010 "a restart left pending by A"
assert_eq "$(ran)" "a(none) b(none) package(none) " "what ran with a pending restart"
log=$(latest_log "$(drive_c)/logs")
for logged in 'Runtime A: exit code 3010' 'Runtime B: exit code 1638' \
  'result: restart pending' 'Package exit code 0' 'Exit code 3010'; do
  echo "$log" | grep -qF "$logged" || fail "the /l*v log lacks '$logged': $log"
done
[ -s "$(drive_c)/logs/main.log" ] || fail "Windows Installer did not write its own log"
ls "$(drive_c)/logs" | grep -qE '^main_[0-9]{8}_[0-9]{6}_[0-9]{3}\.log$' || fail "the setup's log is not main_<time>.log"
[ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ] || fail "the package was not installed"
pass "/qn: 3010 (A) and 1638 (B) found afterwards, the package ran, 0 became 3010, no value, log beside /l*v's"

make_setup failing '/exit=1603' '/install=B:1.0'
quiet_case failing -QN 1603 "a(none) " 'Runtime A: exit code 1603' 'result: failed' \
  'Package not started'
make_setup busy '/exit=1618' '/install=B:1.0'
quiet_case busy /quiet 1618 "a(none) " 'busy (1618)'
make_setup first '/exit=3010' '/install=B:1.0'
quiet_case first /passive 3010 "a(none) " 'restart needed first'
make_setup started '/exit=1641' '/install=B:1.0'
quiet_case started /qn 1641 "a(none) " 'restart started'
make_setup liar '/exit=0' '/install=B:1.0'
quiet_case liar '/qb!-' 1603 "a(none) " 'reported success but is still not found'
assert_eq "$(run_values)" "" "Run values after the unattended runs"

# Options=q and no command line: the value is written, and stays when the run stops for a
# restart; SuccessCodes replaces the default (5 is success here).
make_setup custom '/install=A:1.0 /exit=5' '/exit=3010' 'SuccessCodes=0, 5' 'Options=q'
quiet_case custom '' 3010 "a(\"C:\\custom.exe\") b(\"C:\\custom.exe\") " 'result: installed' \
  'User interface: full'
assert_eq "$(run_values)" '"C:\custom.exe"' "the value after Options=q stopped for a restart"
pass "Options=q: SuccessCodes 0,5 took 5, B's 3010 not found stopped the run, the value stays"

# Through the wizard: Next, Next runs A, which must restart (3010, not found; then 1641): the
# box offers a restart, No ends the run with the value kept and no package.
for code in 3010 1641; do
  make_setup "wizard$code" "/exit=$code" '/install=B:1.0'
  fresh
  start_line_code "C:\\wizard$code.exe"
  wine 'C:\wizard_steps.exe' 90 'C:\' next next >/dev/null 2>&1 || fail "could not work the wizard"
  box=$(timeout 120 wine 'C:\window_driver.exe' dialog 60 '&No' | tr -d '\r')
  assert_eq "$(wait_line_code)" "$code" "the wizard's run after $code and No"
  echo "$box" | grep -q 'Restart now?' || fail "no restart box after $code: $box"
  assert_eq "$(ran)" "a(\"C:\\wizard$code.exe\") " "what ran through the wizard ($code)"
  assert_eq "$(run_values)" "\"C:\\wizard$code.exe\"" "the value after the box's No ($code)"
  latest_log | grep -qF 'Restart now: no' || fail "the log lacks the user's choice"
  pass "wizard, $code: the restart box, No gives $code, the value stays, no package"
done

# Through the wizard A ends with 1638 and is found, B (optional) fails with 1603: Finish
# stays open once both have run, and the package runs.
make_setup wizardok '/install=A:1.0 /exit=1638' '/exit=1603'
fresh
start_line_code 'C:\wizardok.exe'
wine 'C:\wizard_steps.exe' 90 'C:\' next next >/dev/null 2>&1 || fail "could not work the wizard"
for _ in $(seq 300); do [ "$(setup_record | grep -c '^/tag=')" -eq 2 ] && break; sleep 0.2; done
wine 'C:\wizard_steps.exe' 90 'C:\' finish >/dev/null 2>&1 || fail "Finish stayed disabled"
assert_eq "$(wait_line_code)" 0 "the wizard's run with an optional failure"
assert_eq "$(ran)" 'a("C:\wizardok.exe") b("C:\wizardok.exe") package(none) ' "what ran (wizard)"
latest_log | grep -qF 'Runtime B: exit code 1603' || fail "the log lacks B's 1603"
pass "wizard: 1638 and found is installed, an optional 1603 is skipped with Finish, the package runs"

# No handler for packages: under /qn the "could not be started" box is not shown (the run
# ends by itself); the log has its text.
make_setup nobox '/install=A:1.0' '/install=B:1.0'
wine reg delete 'HKCR\Msi.Package\shell\Open\command' /f >/dev/null 2>&1
wine reg delete 'HKCR\.msi' /f >/dev/null 2>&1
quiet_case nobox /qn 1601 "a(none) b(none) " 'Error: Windows Installer could not be started.'

# A run killed while A runs leaves a log up to that moment.
make_setup killed '/hang' '/install=B:1.0'
fresh
timeout 300 wine cmd /c 'C:\killed.exe /qn' >/dev/null 2>&1 &
killed=$!
for _ in $(seq 300); do
  setup_record | grep -q '^/tag=a' && break
  sleep 0.2
done
wineserver -k
wait "$killed"
log=$(latest_log)
echo "$log" | grep -qF 'Starting Runtime A: ' || fail "the killed run's log: $log"
echo "$log" | grep -qE '^[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3} Command line: /qn$' || fail "no timed command line: $log"
pass "a killed run leaves its log up to the setup it was waiting for"
rm -rf "$SCRATCH/prefix"
