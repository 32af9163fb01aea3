# Sourced by the end-to-end tests of the setup: a sample package, the packer, a fresh prefix,
# and small assertions. Every failure ends the script with a message and a non-zero status.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
. "$(dirname "${BASH_SOURCE[0]}")/inputs.sh"

STUB="$TESSARA_WIN_BUILD/app/tessara-stub.exe"
# The most bytes the 32-bit stub that ships may have (tests/e2e/stub_headers.sh, the size bench):
# 64,512 for the code itself, with room for the features built on it.
STUB_BUDGET=73728
PACK="$TESSARA_NATIVE_BUILD/packer/tessara-pack"
DRIVER="$TESSARA_WIN_BUILD/tests/window_driver.exe"
RECORDER="$TESSARA_WIN_BUILD/tests/launch_recorder.exe"

fail() {
  echo "FAIL: $*" >&2
  # The newest run log of the setup says what it saw, which the exit code alone does not.
  local log
  log=$(ls -t "${WINEPREFIX:-/nonexistent}"/drive_c/users/*/Temp/setup_*.log 2>/dev/null | head -1)
  [ -n "$log" ] && { echo "-- $log:"; tail -15 "$log"; } >&2
  exit 1
}
pass() { echo "ok: $*"; }

need_tools() {
  local t
  for t in "$@"; do
    command -v "$t" >/dev/null 2>&1 || fail "missing tool: $t (run scripts/install-deps.sh)"
  done
}

# Scratch folder of the calling test, made empty.
tess_scratch() {
  SCRATCH="$TESSARA_TEST_ROOT/$1"
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
}

# Builds the sample package with wixl into $SCRATCH/pkg/sample.msi.
build_sample_msi() {
  need_tools wixl
  mkdir -p "$SCRATCH/pkg"
  cp "$TESSARA_ROOT/tests/support/sample/sample.wxs" "$TESSARA_ROOT/tests/support/sample/readme.txt" "$SCRATCH/pkg/"
  (cd "$SCRATCH/pkg" && tess_wixl sample.msi sample.wxs) || fail "wixl could not build the sample package"
}

# Builds the sample prerequisite package with wixl into $SCRATCH/runtime/runtime.msi.
build_runtime_msi() {
  need_tools wixl
  mkdir -p "$SCRATCH/runtime"
  cp "$TESSARA_ROOT/tests/support/runtime/runtime.wxs" "$TESSARA_ROOT/tests/support/runtime/runtime.txt" "$SCRATCH/runtime/"
  (cd "$SCRATCH/runtime" && tess_wixl runtime.msi runtime.wxs) || fail "wixl could not build the runtime package"
}

# The recording setup (tests/programs/recording_setup.cpp) as $1, and its record emptied.
RECORDING_SETUP="$TESSARA_WIN_BUILD/tests/recording_setup.exe"
setup_record() { cat "$(drive_c)/setup-record.txt" 2>/dev/null | tr -d '\r' | run_folder_named; }
# A run extracts into a folder of its own in the temporary folder, named tsr and eight hex
# digits; in records it reads <run>.
run_folder_named() { sed 's/\\Temp\\tsr[0-9a-f]\{8\}\\/\\Temp\\<run>\\/g'; }
# Opens .msi files through the recording setup, which records the restart value as it is at
# that moment and then has Windows Installer install the package for real.
record_package_launches() {
  cp "$RECORDING_SETUP" "$(drive_c)/recording_setup.exe"
  wine reg add 'HKCR\Msi.Package\shell\Open\command' /ve /d 'C:\recording_setup.exe "%1" %*' /f \
    >/dev/null 2>&1 || fail "could not register the recording setup for .msi files"
  rm -f "$(drive_c)/setup-record.txt"
}
# The data of every value in the current user's Run key, one a line.
# A query that printed no key header never reached the registry (a Wine start that failed on a
# loaded machine) and is asked again, so that it cannot pass for an empty key.
run_values() {
  local out try
  for try in 1 2 3; do
    out=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' 2>/dev/null | tr -d '\r')
    grep -qi '^HKEY_CURRENT_USER' <<<"$out" && break
    echo "run_values: no answer from reg query (try $try)" >&2
  done
  sed -n 's/^ *.*  *REG_SZ  *//p' <<<"$out"
}

# Windows path of a file inside the prefix's C: drive.
drive_c() { echo "$WINEPREFIX/drive_c"; }

# Points the "open" verb of .msi files at the launch recorder.
use_launch_recorder() {
  cp "$RECORDER" "$(drive_c)/launch_recorder.exe"
  wine reg add 'HKCR\Msi.Package\shell\Open\command' /ve /d 'C:\launch_recorder.exe "%1" %*' /f >/dev/null 2>&1 ||
    fail "could not register the launch recorder"
  rm -f "$(drive_c)/launch-record.txt"
}

launch_record() { cat "$(drive_c)/launch-record.txt" 2>/dev/null | tr -d '\r' | sed 's/ *$//' | run_folder_named; }

# Runs a Windows program in the prefix with a time limit; its exit status is returned. Check it
# with tess_expect_exit: tess_expect_exit 0 run_wine 'C:\setup.exe' /qn || fail ...
run_wine() {
  timeout -k 10 "${TESS_RUN_LIMIT:-120}" wine "$@"
  local status=$?
  wineserver -w
  return $status
}

# Runs a command line exactly as written (wine would re-quote separate arguments), through a
# batch file; the program's exit status is returned (its low 8 bits, as Wine hands it over),
# and its whole exit code is left in TESS_LAST_EXIT for tess_expect_exit.
run_line() {
  printf '@%s\r\n@set tess_code=%%ERRORLEVEL%%\r\n@>C:\\run-line-code.txt echo %%tess_code%%\r\n@exit %%tess_code%%\r\n' \
    "$1" >"$(drive_c)/run-line.bat"
  rm -f "$(drive_c)/run-line-code.txt"
  run_wine cmd /c 'C:\run-line.bat'
  local status=$?
  TESS_LAST_EXIT=$(tr -d '\r\n ' <"$(drive_c)/run-line-code.txt" 2>/dev/null)
  return $status
}

# Like run_line, but prints the program's whole exit code: the status Wine hands to Linux
# keeps only its low 8 bits, and the setup's codes (1601, 1602, 1603, 3010) need all of them.
run_line_code() {
  start_line_code "$1"
  wait_line_code
}
# The same in two halves, for a test that works the setup's windows in between.
start_line_code() {
  printf '@%s\r\n@echo %%ERRORLEVEL%%>C:\\run-line-code.txt\r\n' "$1" >"$(drive_c)/run-line.bat"
  rm -f "$(drive_c)/run-line-code.txt"
  timeout 300 wine cmd /c 'C:\run-line.bat' >/dev/null 2>&1 &
  line_pid=$!
}
wait_line_code() {
  wait "$line_pid"
  wineserver -w
  tr -d '\r\n ' <"$(drive_c)/run-line-code.txt" 2>/dev/null || echo "none"
}

# Starts a setup in the background, reads the dialog it shows with the driver, presses OK.
# Prints the driver's report (title and control texts). Fails unless the driver found the
# dialog and the setup then ended with the exit code given.
#   read_dialog_of CODE PROGRAM [ARGS...]
read_dialog_of() {
  [[ $1 =~ ^[0-9]+$ ]] || fail "read_dialog_of: the first argument is the expected exit code"
  local expected=$1
  shift
  tess_expect_exit "$expected" run_line "$*" >/dev/null &
  local pid=$!
  cp "$DRIVER" "$(drive_c)/window_driver.exe"
  local report driven
  report=$(timeout 120 wine 'C:\window_driver.exe' dialog 60 OK)
  driven=$?
  echo "$report" | tr -d '\r'
  wait $pid
  local status=$?
  wineserver -w
  [ "$driven" -eq 0 ] || { echo "the window driver found no dialog (status $driven)" >&2; return 1; }
  return $status
}

assert_eq() { # actual expected what
  [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
}

# What the setup may have left in the user's temporary folder: a run's own folder, or files
# straight in it.
temp_leftovers() {
  find "$(tess_temp_dir)" -maxdepth 1 \( -name 'tsr*' -o -type f \( -name '*.msi' -o -name '*.cab' \
    -o -name '*.ini' -o -name '*.exe' \) \) 2>/dev/null
}

# Works the wizard on screen with C:\wizard_steps.exe: run_wizard_steps SECONDS LOG STEP...
# The driver's lines go to LOG as they come (a filter in between would hold them back); for a
# SHOT line the window's rectangle is saved as $SCRATCH/shots/<name>.png before the driver is
# told to go on; for a KEY line the keys are typed, as on a keyboard, into the focused window.
run_wizard_steps() {
  local seconds=$1 log=$2 line
  shift 2
  mkdir -p "$SCRATCH/ack" "$SCRATCH/shots"
  rm -f "$SCRATCH"/ack/*
  wine 'C:\wizard_steps.exe' "$seconds" "$(winpath "$SCRATCH/ack")" "$@" 2>/dev/null |
    while IFS= read -r line; do
      line=${line%$'\r'}
      echo "$line" >>"$log"
      case "$line" in
      SHOT\ *)
        set -- $line
        import -window root -crop "$3" +repage "$SCRATCH/shots/$2.png" 2>/dev/null
        touch "$SCRATCH/ack/$2"
        ;;
      KEY\ *)
        set -- $line
        xdotool key --delay 150 "${@:3}" >/dev/null 2>&1
        touch "$SCRATCH/ack/$2"
        ;;
      esac
    done
}
