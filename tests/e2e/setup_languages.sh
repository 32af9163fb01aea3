#!/usr/bin/env bash
# The setup in its user's language. One setup packed with every shipped language file shows
# every window (each control's text read back as UTF-16) in German under a German UI language,
# in Japanese under a Japanese one and in English under another; /lang: chooses, here Japanese
# on a Western code page; the Arabic run is mirrored. A quiet run writes the log it writes
# without languages; a damaged table leaves the windows English; the packer and check refuse a
# bad language file.
. "$(dirname "$0")/../support/setup-e2e.sh"
. "$TESSARA_ROOT/tests/support/http-server.sh"
. "$TESSARA_ROOT/tests/support/wizard-scenario.sh"
tess_scratch setup_languages
need_tools wixl wine import python3
tess_display || fail "no X display"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
make_wizard_setup
"$PACK" language-template >"$SCRATCH/en.lang" || fail "no language template"
texts_of() { python3 "$TESSARA_ROOT/tests/support/language_texts.py" "$@"; }
run_log() { tr -d '\r' <"$(ls -t "$(tess_temp_dir)"/setup_*.log | head -1)"; }

# tag locale argument language-file rtl: the whole wizard, every text of every window checked.
in_language() {
  tess_new_prefix "$SCRATCH/prefix-$1"
  WIZARD_TEXTS=1 LC_ALL=$2 work_wizard "$1" "$SCRATCH/$1.log" "$3"
  grep '^BAD' "$SCRATCH/$1.log" && fail "$1: a control is clipped or does not hold its text"
  local result
  result=$(texts_of "$4" "$SCRATCH/$1.log") || fail "$1: $result"
  [[ $result == *"windows rtl=$5" ]] || fail "$1: mirrored windows: $result"
  pass "$1 ($2${3:+ $3}): $result"
}
in_language de de_DE.UTF-8 "" "$TESSARA_ROOT/languages/de-DE.lang" 0
in_language ja ja_JP.UTF-8 "" "$TESSARA_ROOT/languages/ja-JP.lang" 0
in_language en en_US.UTF-8 "" "$SCRATCH/en.lang" 0
in_language lang de_DE.UTF-8 /lang:1041 "$TESSARA_ROOT/languages/ja-JP.lang" 0
run_log | grep -q 'Package command line: /qn$' || fail "/lang: reached the package: $(run_log)"
in_language ar ar_SA.UTF-8 "" "$TESSARA_ROOT/languages/ar-SA.lang" 1

# A box before the wizard, here for a /source: folder that is not there, speaks the language too;
# the log keeps its English.
tess_new_prefix "$SCRATCH/prefix-box"
cp "$SCRATCH/setup.exe" "$(drive_c)/setup.exe"
report=$(LC_ALL=en_US.UTF-8 read_dialog_of 1603 'C:\setup.exe /lang:1031 /source:C:\nowhere') ||
  fail "the /source: refusal: $report"
german=$(sed -n 's/^Setup.SourceFolder = //p' "$TESSARA_ROOT/languages/de-DE.lang")
[[ $report == *"$german"* ]] || fail "the /source: box is not German: $report"
run_log | grep -q '^.* Error: The source folder cannot be found\.$' || fail "the log: $(run_log)"
pass "the /source: refusal's box in German, its log line in English"

# A quiet run's log, line by line, with and without languages (times and sizes aside).
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/held-setup.exe" --product-name "Tessara Sample" -o "$SCRATCH/plain.exe" \
  >/dev/null 2>&1 || fail "packing without languages failed"
for setup in setup plain; do
  tess_new_prefix "$SCRATCH/prefix-quiet-$setup"
  record_package_launches
  cp "$SCRATCH/$setup.exe" "$(drive_c)/setup.exe"
  LC_ALL=de_DE.UTF-8 tess_expect_exit 0 run_line 'C:\setup.exe /qn' || fail "quiet run ($setup)"
  run_log | sed -E 's/^[0-9:.]+ //; s/[0-9]+ bytes/N bytes/; s/started .* UTC/started/;
    s/after [0-9]+ ms/after N ms/; s/tsr[0-9a-f]{8}/tsr/g' >"$SCRATCH/quiet-$setup.log"
done
diff "$SCRATCH/quiet-plain.log" "$SCRATCH/quiet-setup.log" ||
  fail "a quiet run's log differs with languages packed"
pass "a quiet run's log is the same with languages ($(wc -l <"$SCRATCH/quiet-setup.log") lines)"

# A table damaged in the setup: its records past its end, or its texts' offsets outside it.
for damage in records offsets; do
  tess_new_prefix "$SCRATCH/prefix-$damage"
  cp "$SCRATCH/setup.exe" "$TESSARA_WIN_BUILD/tests/wizard_steps.exe" "$(drive_c)/"
  python3 "$TESSARA_ROOT/tests/support/patch_setup.py" damage-language "$(drive_c)/setup.exe" \
    1031 $damage || fail "could not damage the table"
  LC_ALL=en_US.UTF-8 start_line_code 'C:\setup.exe /lang:1031'
  LC_ALL=en_US.UTF-8 run_wizard_steps 60 "$SCRATCH/$damage.log" texts:sheet cancel
  assert_eq "$(wait_line_code)" 1602 "the cancelled run with a damaged table ($damage)"
  result=$(texts_of "$SCRATCH/en.lang" "$SCRATCH/$damage.log") || fail "$damage: $result"
  pass "a table damaged in its $damage leaves the wizard English: $result"
done

# Bad language files: refused by the packer, which writes nothing, and by check.
printf '[Language]\nId = 1031\n[Texts]\nSetup.Title = Installation\nWizard.Nxt = x\n' \
  >"$SCRATCH/bad.lang"
out=$("$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --language "$SCRATCH/bad.lang" \
  -o "$SCRATCH/bad.exe" 2>&1)
[ $? -eq 2 ] && [ ! -e "$SCRATCH/bad.exe" ] && [[ $out == *"placeholders"* ]] &&
  [[ $out == *"unknown text name 'Wizard.Nxt'"* ]] && [[ $out == *"has errors"* ]] ||
  fail "the packer took a bad language file: $out"
out=$("$PACK" check --language "$SCRATCH/bad.lang")
[ $? -eq 2 ] && [[ $out == *"2 error(s)"* ]] || fail "check took a bad language file: $out"
pass "a bad language file is refused by pack and check"
