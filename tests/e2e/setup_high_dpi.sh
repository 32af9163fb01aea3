#!/usr/bin/env bash
# The setup's windows at 96, 144 and 192 dots per inch (100, 150 and 200 %, Wine's LogPixels):
# both wizard pages, the download dialog and the launch window, read from their controls'
# rectangles while a user works the wizard: no control is clipped by its parent or overlaps
# another, no text is cut off, the wizard grows with the resolution, and so do the lists'
# columns of fixed width. The same in every shipped language, at 96 and 144 dpi, each under a
# UI language of its own, with the extraction window too. Screenshots of the pages go to
# $SCRATCH/shots.
. "$(dirname "$0")/../support/setup-e2e.sh"
. "$TESSARA_ROOT/tests/support/http-server.sh"
. "$TESSARA_ROOT/tests/support/wizard-scenario.sh"
tess_scratch setup_high_dpi
need_tools wixl wine import python3
tess_display || fail "no X display"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
make_wizard_setup
make_extraction_setup

declare -A width name_column status_column
for dpi in 96 144 192; do
  tess_new_prefix "$SCRATCH/prefix-$dpi"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 ||
    fail "could not set LogPixels"
  log="$SCRATCH/steps-$dpi.log"
  WIZARD_SHOTS=1 LC_ALL=en_US.UTF-8 work_wizard $dpi "$log"
  grep '^BAD' "$log" && fail "controls clipped or overlapping at $dpi dpi (above)"
  width[$dpi]=$(sed -n 's/^LAYOUT sheet .* \([0-9]*\)x[0-9]*$/\1/p' "$log" | head -1)
  # The columns of fixed width: the prerequisites' Name, the downloads' Status.
  name_column[$dpi]=$(sed -n 's/^COLUMNS sheet \([0-9]*\) .*/\1/p' "$log" | head -1)
  status_column[$dpi]=$(sed -n 's/^COLUMNS #1007 [0-9]* \([0-9]*\)$/\1/p' "$log")
  pass "$dpi dpi: $(grep -c '^LAYOUT' "$log") windows, $(grep '^LAYOUT' "$log" | awk '{s += $(NF-2)} END {print s}') controls, none clipped or overlapping"
done
[ "${width[144]}" -gt $((width[96] * 13 / 10)) ] && [ "${width[192]}" -gt $((width[96] * 17 / 10)) ] ||
  fail "the wizard does not grow with the resolution: ${width[96]}, ${width[144]}, ${width[192]} pixels wide"
pass "the wizard is ${width[96]}, ${width[144]} and ${width[192]} pixels wide at 96, 144 and 192 dpi"
for dpi in 144 192; do
  [ "${name_column[$dpi]:-0}" -eq $((name_column[96] * dpi / 96)) ] &&
    [ "${status_column[$dpi]:-0}" -eq $((status_column[96] * dpi / 96)) ] ||
    fail "columns at $dpi dpi: Name ${name_column[$dpi]:-?} (${name_column[96]} at 96), Status ${status_column[$dpi]:-?} (${status_column[96]} at 96)"
done
pass "the lists' fixed columns scale: Name ${name_column[96]}, ${name_column[144]}, ${name_column[192]}; Status ${status_column[96]}, ${status_column[144]}, ${status_column[192]}"

for file in $(shipped_languages); do
  language=$(basename "$file" .lang)
  for dpi in 96 144; do
    tess_new_prefix "$SCRATCH/prefix-$language-$dpi"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 ||
      fail "could not set LogPixels"
    log="$SCRATCH/steps-$language-$dpi.log"
    LC_ALL=$(locale_of "$file") work_wizard "$language-$dpi" "$log"
    LC_ALL=$(locale_of "$file") work_extraction "$language-$dpi" "$log.extraction"
    grep '^BAD' "$log" "$log.extraction" &&
      fail "$language at $dpi dpi: controls clipped, overlapping or cutting their text off (above)"
  done
  pass "$language at 96 and 144 dpi: every window's controls and texts fit"
done
