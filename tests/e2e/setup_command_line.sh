#!/usr/bin/env bash
# What the package receives for each kind of command line, and what the setup makes of
# /extract: (quoted, unquoted, upper case, one character).
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_command_line
need_tools wine
tess_display || fail "no X display"
mkdir -p "$SCRATCH/pkg"
fake_msi "$SCRATCH/pkg/app.msi" 300000
fake_cab "$SCRATCH/pkg/app.cab" 70001
printf 'x' >"$SCRATCH/pkg/empty-ish.dat"
: >"$SCRATCH/pkg/zero.dat"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --cab "$SCRATCH/pkg/app.cab" \
  --file "$SCRATCH/pkg/empty-ish.dat" --file "$SCRATCH/pkg/zero.dat" -o "$SCRATCH/setup.exe" ||
  fail "packing failed"

tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
cp "$SCRATCH/setup.exe" "$(drive_c)/setup.exe"
temp_win='C:\users\'"$(id -un)"'\Temp\<run>\app.msi'

check_launch() { # expected parameters after the package path ("" for none), then the command line
  local expected=$1
  shift
  rm -f "$(drive_c)/launch-record.txt"
  tess_expect_exit 0 run_line "C:\setup.exe $*" || fail "setup run: $*"
  local line
  line=$(launch_record)
  [ -n "$line" ] || fail "the package was not launched for: $*"
  case "$line" in
    *"\"$temp_win\"") [ -z "$expected" ] || fail "for '$*' the package got no parameters" ;;
    *"\"$temp_win\" $expected") ;;
    *) fail "for '$*' the package was started as: $line (expected parameters: '$expected')" ;;
  esac
  [ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder after: $*"
}

check_launch ""
pass "no command line: the package gets no parameters"
check_launch "/qn" /qn
pass "/qn is handed over, not interpreted"
check_launch "/EXTRACT:C:\\out" '/EXTRACT:C:\out'
[ ! -d "$(drive_c)/out" ] || fail "upper-case /EXTRACT: extracted"
pass "/EXTRACT: (upper case) is a normal run that hands the text over"
check_launch "/extract:x" '/extract:x'
pass "/extract:x (one character) is a normal run that hands the text over"

check_extract() { # folder under C:, then the command line
  local folder=$1
  shift
  rm -f "$(drive_c)/launch-record.txt"
  tess_expect_exit 0 run_line "C:\setup.exe $*" || fail "extract-only run: $*"
  [ -z "$(launch_record)" ] || fail "extract-only launched the package for: $*"
  for f in app.msi app.cab empty-ish.dat zero.dat; do
    cmp -s "$SCRATCH/pkg/$f" "$(drive_c)/$folder/$f" || fail "$f not extracted byte-identical into $folder"
  done
}

mkdir -p "$(drive_c)/my files" "$(drive_c)/my" "$(drive_c)/o"
check_extract "my files" '/extract:"C:\my files"'
pass "quoted folder with a space"
check_extract "my" '/extract:C:\my files'
pass "unquoted folder ends at the space"
check_extract "o" '/extract:C:\o'
pass "plain folder"
tess_expect_exit 1603 run_line 'C:\setup.exe /extract:C:\does-not-exist' || fail "extract into a missing folder"
[ ! -e "$(drive_c)/does-not-exist" ] || fail "a folder was created"
pass "a folder that does not exist receives nothing, quietly, and the exit code says so"

# Exactly as people write it: a quoted log path glued to /l*v, then /qn. Runtime A is missing,
# so the wizard would show (and the run outlast its limit) had /qn been lost; the other two are
# found by a value directly under the root key, in both forms, or they would run and fail.
cp "$RECORDING_SETUP" "$SCRATCH/a-setup.exe"
printf '[PREREQUISITES]\nApp1=Runtime A\nApp2=Root value\nApp3=Root value, key form\n[App1]\nSetupFile=a-setup.exe\nCommandLine=/tag=a /install=A:1.0\nSearchType=2\nSearchString=HKLM\\Software\\Tessara Tests\\A\\Version\nVerMin=1.0\n[App2]\nSetupFile=a-setup.exe\nCommandLine=/tag=b\nSearchType=2\nSearchString=HKCU\\TessaraRootVersion\nVerMin=2.0\n[App3]\nSetupFile=a-setup.exe\nCommandLine=/tag=c\nSearchType=1\nSearchString=HKCU\\\\TessaraRootVersion\\\nVerMin=2.0\n[GeneralOptions]\nMainAppCmdLine=/qb\n' \
  >"$SCRATCH/quiet.ini"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --cab "$SCRATCH/pkg/app.cab" \
  --config "$SCRATCH/quiet.ini" --prereq "$SCRATCH/a-setup.exe" -o "$(drive_c)/quiet.exe" >/dev/null ||
  fail "packing the quiet setup failed"
wine reg add 'HKCU' /v TessaraRootVersion /d 2.5 /f >/dev/null 2>&1 || fail "could not write the root value"
mkdir -p "$(drive_c)/my logs"
rm -f "$(drive_c)/launch-record.txt" "$(drive_c)/setup-record.txt"
line='/l*v"C:\my logs\setup.log" /qn'
TESS_RUN_LIMIT=90 tess_expect_exit 0 run_line "C:\\quiet.exe $line" || fail "the quiet run: $line"
assert_eq "$(setup_record | sed 's/ |.*//')" "/tag=a /install=A:1.0" "what ran before the package"
case "$(launch_record)" in
  *"\"$temp_win\" $line") ;;
  *) fail "the package was not handed the line as typed: $(launch_record)" ;;
esac
log=$(cat "$(drive_c)/my logs"/setup_*.log 2>/dev/null | tr -d '\r')
found='Required: 2.0 or higher. Found: 2.5 |'
for logged in "Command line: $line" 'User interface: none' "search HKCU\\TessaraRootVersion | $found" \
  "search HKCU\\\\TessaraRootVersion\\ | $found" 'Exit code 0'; do
  grep -qF "$logged" <<<"$log" || fail "the log in C:\\my logs lacks '$logged': $log"
done
pass "$line: silent, the log in C:\\my logs, the line handed over whole, root values found"

# A folder that ends with a backslash before its closing quote, as administrators write
# INSTALLDIR for msiexec: the quote still closes it, and /qn after it counts (Runtime A is
# missing again, so a wizard would outlast the limit).
wine reg delete 'HKLM\Software\Tessara Tests\A' /f >/dev/null 2>&1
rm -f "$(tess_temp_dir)"/quiet_*.log
line='INSTALLDIR="C:\Program Files\App\" /qn'
TESS_RUN_LIMIT=90 tess_expect_exit 0 run_line "C:\\quiet.exe $line" || fail "the quiet run: $line"
grep -qF 'User interface: none' "$(tess_temp_dir)"/quiet_*.log || fail "$line: not read as silent"
pass "$line: silent"
