#!/usr/bin/env bash
# The wizard in a packed setup, worked as a user works it (Options=Q, a capital letter, so the
# wizard is shown): Cancel on either page installs and launches nothing, removes the restart
# value, leaves the temporary folder clean and ends with 1602; Finish on the first page skips
# the prerequisites and installs the package; Next, Next, Finish installs the prerequisites,
# then the package. With the keyboard alone (xdotool key, no click) Enter on the first page goes
# on to the prerequisites page, the focused row's action list opens (named after the row for
# screen readers), "Don't Install" is chosen and committed, the installs run and Finish is
# reached, with the result of the same choices made with the mouse; a mandatory row opens
# nothing. Screenshots of the pages go to $SCRATCH/shots.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch prereq_wizard
need_tools wixl wine import xdotool
tess_display || fail "no X display"
STEPS="$TESSARA_WIN_BUILD/tests/wizard_steps.exe"
build_sample_msi
cp "$RECORDING_SETUP" "$SCRATCH/first-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/second-setup.exe"
cat >"$SCRATCH/sample.ini" <<'INI'
[PREREQUISITES]
App1=Tessara First Runtime
App2=Tessara Second Runtime

[App1]
SetupFile=first-setup.exe
CommandLine=/tag=first /install=First:1.0
SearchType=2
SearchString=HKLM\Software\Tessara Tests\First\Version
VerMin=1.0

[App2]
SetupFile=second-setup.exe
CommandLine=/tag=second /install=Second:2.5
SearchType=2
SearchString=HKLM\Software\Tessara Tests\Second\Version
VerMin=2.0
VerMax=3.0

[GeneralOptions]
MainAppCmdLine=/qn
Options=Q
INI
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/first-setup.exe" --prereq "$SCRATCH/second-setup.exe" \
  --product-name "Tessara Sample" -o "$SCRATCH/setup.exe" >/dev/null || fail "packing failed"
# The same with the first prerequisite alone, mandatory.
sed -e '/^App2=/d' -e '/^\[App2\]/,/^$/d' -e 's/^\[App1\]$/&\nOptions=m/' "$SCRATCH/sample.ini" \
  >"$SCRATCH/mandatory.ini"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/mandatory.ini" \
  --prereq "$SCRATCH/first-setup.exe" --product-name "Tessara Sample" \
  -o "$SCRATCH/mandatory-setup.exe" >/dev/null || fail "packing the mandatory setup failed"

# One run of the setup (C:\setup.exe, from $SCRATCH/${SETUP:-setup.exe}) in a fresh prefix, the
# wizard worked through the steps given. Sets exit_code; the steps' report is in $SCRATCH/steps.log.
wizard_run() {
  tess_new_prefix "$SCRATCH/prefix"
  record_package_launches
  cp "$SCRATCH/${SETUP:-setup.exe}" "$(drive_c)/setup.exe"
  cp "$STEPS" "$(drive_c)/"
  start_line_code 'C:\setup.exe'
  run_wizard_steps 90 "$SCRATCH/steps.log" "$@"
  exit_code=$(wait_line_code)
  grep -q '^FAILED' "$SCRATCH/steps.log" && fail "a wizard step failed: $(cat "$SCRATCH/steps.log")"
  return 0
}
temp_win='C:\users\'"$(id -un)"'\Temp\<run>'
package_line="\"$temp_win\\sample.msi\" /qn | run: none"
installed() { [ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ]; }

check_cancelled() { # what
  assert_eq "$exit_code" 1602 "exit code after Cancel $1"
  assert_eq "$(setup_record)" "" "what ran after Cancel $1"
  installed && fail "the package was installed after Cancel $1"
  assert_eq "$(run_values)" "" "Run values after Cancel $1"
  [ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder after Cancel $1: $(temp_leftovers)"
}

: >"$SCRATCH/steps.log"
wizard_run cancel
grep -qx 'page: Information' "$SCRATCH/steps.log" || fail "Cancel was not pressed on the information page"
check_cancelled "on the first page"
pass "Cancel on the first page: nothing installed or launched, no value, clean, 1602"

: >"$SCRATCH/steps.log"
wizard_run next cancel
grep -qx 'page: PreRequisites' "$SCRATCH/steps.log" || fail "Cancel was not pressed on the prerequisites page"
check_cancelled "on the second page"
pass "Cancel on the prerequisites page: the same"

: >"$SCRATCH/steps.log"
wizard_run finish
assert_eq "$exit_code" 0 "exit code after Finish on the first page"
assert_eq "$(setup_record)" "$package_line" "what ran after Finish on the first page"
installed || fail "the package was not installed after Finish on the first page"
assert_eq "$(run_values)" "" "Run values after Finish on the first page"
pass "Finish on the first page: no prerequisite ran, the package was installed"

: >"$SCRATCH/steps.log"
wizard_run shot:information next shot:prerequisites next installed shot:installed finish
value='"C:\setup.exe"'
expected="/tag=first /install=First:1.0 | run: $value
/tag=second /install=Second:2.5 | run: $value
$package_line"
assert_eq "$exit_code" 0 "exit code after Next, Next, Finish"
assert_eq "$(setup_record)" "$expected" "what ran after Next, Next, Finish"
installed || fail "the package was not installed after Next, Next, Finish"
assert_eq "$(run_values)" "" "Run values after Next, Next, Finish"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder: $(temp_leftovers)"
for shot in information prerequisites installed; do
  [ -s "$SCRATCH/shots/$shot.png" ] || fail "no screenshot of $shot"
done
pass "Next, Next, Finish: both prerequisites in order with the value present, then the package"

# The keyboard's focus starts on the information text (1020), then on the list (1002); Finish
# is 12325. Only the second prerequisite is started, as its log says.
keyboard_only() { # what expected-record
  assert_eq "$exit_code" 0 "exit code $1"
  assert_eq "$(setup_record)" "$2
$package_line" "what ran $1"
  installed || fail "the package was not installed $1"
  grep -q '^done key:Return$' "$SCRATCH/steps.log" || fail "no key was typed $1"
}
: >"$SCRATCH/steps.log"
wizard_run focus:1020 key:Return focus:1002 key:space 'name:Action for Tessara First Runtime' \
  key:Up key:Return focus:1002 key:Return installed key:shift+Tab key:shift+Tab focus:12325 \
  key:Return
keyboard_only "with the keyboard" "/tag=second /install=Second:2.5 | run: $value"
log=$(cat "$(drive_c)"/users/*/Temp/setup_*.log | tr -d '\r')
assert_eq "$(grep -o 'Starting [^:]*' <<<"$log")" "Starting Tessara Second Runtime" \
  "setups started with the keyboard"
pass "Keyboard only: Enter, Space on the first row (named for screen readers), Don't Install, Enter, Finish"

: >"$SCRATCH/steps.log"
SETUP=mandatory-setup.exe wizard_run focus:1020 key:Return focus:1002 key:F4 focus:1002 \
  key:alt+Down focus:1002 key:space focus:1002 key:Return installed key:shift+Tab \
  key:shift+Tab focus:12325 key:Return
keyboard_only "with the keyboard on a mandatory row" "/tag=first /install=First:1.0 | run: $value"
pass "Keyboard only, a mandatory row: F4, Alt+Down and Space open nothing; Enter installs it"
rm -rf "$SCRATCH/prefix"
