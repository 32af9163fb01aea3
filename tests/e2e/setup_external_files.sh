#!/usr/bin/env bash
# A setup whose package lies beside it as plain files: nothing is extracted or deleted, and the
# package launched is the .msi that carries the setup's own name.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_external_files
need_tools wine
tess_display || fail "no X display"
"$PACK" pack --stub "$STUB" --external-files -o "$SCRATCH/setup.exe" || fail "packing failed"
tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/setup.exe" "$(drive_c)/dist/setup.exe"
echo "package" >"$(drive_c)/dist/setup.msi"
echo "[GeneralOptions]" >"$(drive_c)/dist/setup.ini"

run_line 'C:\dist\setup.exe /qb'
assert_eq "$(launch_record)" 'C:\launch_recorder.exe "C:\dist\setup.msi" /qb' "the package launched"
[ -f "$(drive_c)/dist/setup.msi" ] && [ -f "$(drive_c)/dist/setup.ini" ] || fail "a file beside the setup was deleted"
[ -z "$(temp_leftovers)" ] || fail "files written to the temporary folder"
pass "the .msi beside the setup is launched; nothing is extracted or deleted"

# Extract-only with external files writes every entry beside the setup: there are none here.
mkdir -p "$(drive_c)/out"
run_line 'C:\dist\setup.exe /extract:C:\out' || fail "extract-only exit code not 0"
[ -z "$(ls "$(drive_c)/out")" ] || fail "extract-only wrote into the folder given"
pass "extract-only writes nothing into the folder given"
