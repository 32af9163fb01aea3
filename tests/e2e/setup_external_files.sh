#!/usr/bin/env bash
# A setup whose package lies beside it as plain files: a normal run extracts and deletes
# nothing, and the package launched is the .msi that carries the setup's own name. The setup
# still carries entries, so "nothing is written" means something: extract-only writes them,
# beside the setup rather than into the folder given. A prerequisite's SetupFile beside such a
# setup runs from there.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_external_files
need_tools wine
tess_display || fail "no X display"
mkdir -p "$SCRATCH/pkg"
fake_msi "$SCRATCH/pkg/carried.msi" 70001
head -c 3000 /dev/urandom >"$SCRATCH/pkg/extra.dat"
"$PACK" pack --stub "$STUB" --external-files --msi "$SCRATCH/pkg/carried.msi" \
  --file "$SCRATCH/pkg/extra.dat" -o "$SCRATCH/setup.exe" || fail "packing failed"
"$PACK" list "$SCRATCH/setup.exe" | grep -q 'entryCount *2$' || fail "the setup does not carry two entries"
tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
mkdir -p "$(drive_c)/dist"
cp "$SCRATCH/setup.exe" "$(drive_c)/dist/setup.exe"
echo "package" >"$(drive_c)/dist/setup.msi"
echo "[GeneralOptions]" >"$(drive_c)/dist/setup.ini"
listing() { (cd "$(drive_c)/$1" && ls -A | tr '\n' ' '); }

tess_expect_exit 0 run_line 'C:\dist\setup.exe /qb' || fail "setup run"
assert_eq "$(launch_record)" 'C:\launch_recorder.exe "C:\dist\setup.msi" /qb' "the package launched"
assert_eq "$(listing dist)" "setup.exe setup.ini setup.msi " "the setup's folder after a normal run"
assert_eq "$(cat "$(drive_c)/dist/setup.msi")" "package" "the package beside the setup"
[ -z "$(temp_leftovers)" ] || fail "files written to the temporary folder"
pass "the .msi beside the setup is launched; nothing is extracted or deleted"

# Extract-only with external files writes every entry beside the setup, whatever folder is given.
mkdir -p "$(drive_c)/out"
tess_expect_exit 0 run_line 'C:\dist\setup.exe /extract:C:\out' || fail "extract-only run"
assert_eq "$(listing out)" "" "the folder given after extract-only"
for f in carried.msi extra.dat; do
  cmp -s "$SCRATCH/pkg/$f" "$(drive_c)/dist/$f" || fail "$f not extracted beside the setup"
done
pass "extract-only writes the entries beside the setup and nothing into the folder given"

# With prerequisites, a setup named by SetupFile lies beside the setup too, carried or not, and
# runs from there; the quiet run then launches the package beside it.
"$PACK" pack --stub "$STUB" --external-files --has-prerequisites --msi "$SCRATCH/pkg/carried.msi" \
  -o "$SCRATCH/prereq-setup.exe" || fail "packing with prerequisites failed"
mkdir -p "$(drive_c)/pre"
cp "$SCRATCH/prereq-setup.exe" "$(drive_c)/pre/setup.exe"
cp "$RECORDING_SETUP" "$(drive_c)/pre/runtime-setup.exe"
echo "package" >"$(drive_c)/pre/setup.msi"
cat >"$(drive_c)/pre/setup.ini" <<'INI'
[PREREQUISITES]
App1=Runtime
[App1]
SetupFile=runtime-setup.exe
CommandLine=/tag=beside /install=Beside:1.0
SearchType=2
SearchString=HKLM\Software\Tessara Tests\Beside\Version
[GeneralOptions]
Options=q
INI
rm -f "$(drive_c)/setup-record.txt" "$(drive_c)/launch-record.txt"
tess_expect_exit 0 run_line 'C:\pre\setup.exe' || fail "setup run with a prerequisite"
assert_eq "$(setup_record)" '/tag=beside /install=Beside:1.0 | run: "C:\pre\setup.exe"' "the prerequisite's setup beside the setup ran"
assert_eq "$(launch_record)" 'C:\launch_recorder.exe "C:\pre\setup.msi"' "the package launched after it"
assert_eq "$(listing pre)" "runtime-setup.exe setup.exe setup.ini setup.msi " "the setup's folder afterwards"
pass "a SetupFile prerequisite beside a setup with external files runs from there"
