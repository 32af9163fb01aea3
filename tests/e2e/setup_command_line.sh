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
