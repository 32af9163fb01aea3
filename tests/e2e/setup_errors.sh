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

expect_box() { # file, expected exit code, expected message
  local file=$1 code=$2 message=$3
  cp "$SCRATCH/$file" "$(drive_c)/$file"
  local report status
  report=$(read_dialog_of "$code" "C:\\$file")
  status=$?
  # The worst outcome, so it is reported first.
  [ "$(cat "$escape_target" 2>/dev/null)" = "the user's own file" ] ||
    fail "$file: a hostile entry name wrote outside the temporary folder, over $escape_target"
  [ "$status" -eq 0 ] || fail "$file: setup run; saw: $report"
  echo "$report" | grep -qxF "title: Error" || fail "$file: no error box titled Error; saw: $report"
  echo "$report" | grep -qF "$message" || fail "$file: expected the message '$message'; saw: $report"
  [ -z "$(launch_record)" ] || fail "$file: the package was launched after a start-up error"
  pass "$file shows \"$message\""
}

# The damaged name "..\.msi" would land beside the temporary folder, in the user's folder; a
# file of the user's own lies there (a setup would overwrite it, then delete it at its end).
escape_target="$(dirname "$(tess_temp_dir)")/.msi"
mkdir -p "$(tess_temp_dir)"
echo "the user's own file" >"$escape_target"
cp "$SCRATCH/good.exe" "$SCRATCH/damaged.exe"
python3 "$patch" hostile-name "$SCRATCH/damaged.exe"
grep -qaF '..\.msi' "$SCRATCH/damaged.exe" || fail "the damaged setup does not carry the name ..\\.msi"
expect_box damaged.exe 1603 "This archive is corupted."
# Device names: the packer refuses them, so a packed setup is patched to carry one.
echo notes >"$SCRATCH/pkg/COM1.txt"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --file "$SCRATCH/pkg/COM1.txt" \
  -o "$SCRATCH/refused.exe" 2>"$SCRATCH/refused.err"
[ $? -eq 2 ] && grep -q "device name" "$SCRATCH/refused.err" || fail "the packer took COM1.txt"
cp "$SCRATCH/pkg/COM1.txt" "$SCRATCH/pkg/abcd.txt"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --file "$SCRATCH/pkg/abcd.txt" \
  -o "$SCRATCH/files.exe" || fail "packing failed"
for device in COM1.txt "con .txt"; do
  exe="device-${device%%.*}.exe"
  exe=${exe// /}
  cp "$SCRATCH/files.exe" "$SCRATCH/$exe"
  python3 "$patch" rename-last "$SCRATCH/$exe" "$device"
  expect_box "$exe" 1603 "This archive is corupted."
done
for v in 99 101; do
  cp "$SCRATCH/good.exe" "$SCRATCH/v$v.exe"
  python3 "$patch" version "$SCRATCH/v$v.exe" "$v"
  expect_box "v$v.exe" 1603 "This archive has an an unsuported version."
done
cp "$STUB" "$SCRATCH/nosig.exe"
expect_box nosig.exe 1603 "An error occured while reading the file."

# The package cannot be started: the user is told, and the run still cleans up.
wine reg delete 'HKCR\Msi.Package\shell\Open\command' /f >/dev/null 2>&1
wine reg delete 'HKCR\.msi' /f >/dev/null 2>&1
expect_box good.exe 1601 "Windows Installer could not be started."
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder after a failed launch"
