#!/usr/bin/env bash
# A setup whose archive is damaged shows one error box, read from the real window.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_errors
need_tools wine python3
tess_display || fail "no X display"
mkdir -p "$SCRATCH/pkg"
fake_msi "$SCRATCH/pkg/app.msi" 5000
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" -o "$SCRATCH/good.exe" || fail "packing failed"
tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
patch="$TESSARA_ROOT/tests/support/patch_setup.py"

expect_box() { # file, expected message
  cp "$SCRATCH/$1" "$(drive_c)/$1"
  local report
  report=$(read_dialog_of "C:\\$1")
  echo "$report" | grep -qxF "title: Error" || fail "$1: no error box titled Error; saw: $report"
  echo "$report" | grep -qF "$2" || fail "$1: expected the message '$2'; saw: $report"
  [ -z "$(launch_record)" ] || fail "$1: the package was launched after a start-up error"
  pass "$1 shows \"$2\""
}

cp "$SCRATCH/good.exe" "$SCRATCH/damaged.exe"
python3 "$patch" hostile-name "$SCRATCH/damaged.exe"
expect_box damaged.exe "This archive is corupted."
for v in 99 101; do
  cp "$SCRATCH/good.exe" "$SCRATCH/v$v.exe"
  python3 "$patch" version "$SCRATCH/v$v.exe" "$v"
  expect_box "v$v.exe" "This archive has an an unsuported version."
done
cp "$STUB" "$SCRATCH/nosig.exe"
expect_box nosig.exe "An error occured while reading the file."
[ ! -e "$(drive_c)/app.msi" ] || fail "the hostile entry name wrote outside the temporary folder"

# The package cannot be started: the user is told, and the run still cleans up.
wine reg delete 'HKCR\Msi.Package\shell\Open\command' /f >/dev/null 2>&1
wine reg delete 'HKCR\.msi' /f >/dev/null 2>&1
expect_box good.exe "Windows Installer could not be started."
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder after a failed launch"
