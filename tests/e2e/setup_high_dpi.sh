#!/usr/bin/env bash
# The setup's windows at 96, 144 and 192 dots per inch (100, 150 and 200 %, Wine's LogPixels):
# both wizard pages, the download dialog and the launch window, read from their controls'
# rectangles while a user works the wizard: no control is clipped by its parent or overlaps
# another, the wizard grows with the resolution, and so do the lists' columns of fixed width.
# Screenshots of the pages go to $SCRATCH/shots.
. "$(dirname "$0")/../support/setup-e2e.sh"
. "$TESSARA_ROOT/tests/support/http-server.sh"
tess_scratch setup_high_dpi
need_tools wixl wine import python3
tess_display || fail "no X display"
STEPS="$TESSARA_WIN_BUILD/tests/wizard_steps.exe"
build_sample_msi
mkdir -p "$SCRATCH/srv"
cp "$RECORDING_SETUP" "$SCRATCH/held-setup.exe"
cp "$RECORDING_SETUP" "$SCRATCH/srv/web-setup.exe"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null' EXIT
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
size=$(stat -c %s "$SCRATCH/srv/web-setup.exe")
# The download takes about ten seconds, long enough to read its dialog.
cat >"$SCRATCH/sample.ini" <<INI
[PREREQUISITES]
App1=Tessara Held Runtime
App2=Tessara Web Runtime with a long name that fills its row

[App1]
SetupFile=held-setup.exe
CommandLine=/install=Held:1.0
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Held\\Version

[App2]
Url=$base/rate=$((size / 10))/web-setup.exe
CommandLine=/install=Web:1.0
ExactSize=$size
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Web\\Version

[GeneralOptions]
MainAppCmdLine=/qn
Options=Q
INI
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/held-setup.exe" --product-name "Tessara Sample" -o "$SCRATCH/setup.exe" \
  >/dev/null || fail "packing failed"

declare -A width name_column status_column
for dpi in 96 144 192; do
  tess_new_prefix "$SCRATCH/prefix-$dpi"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 ||
    fail "could not set LogPixels"
  record_package_launches
  cp "$SCRATCH/setup.exe" "$STEPS" "$(drive_c)/"
  rm -f "$SCRATCH/record.txt"
  log="$SCRATCH/steps-$dpi.log"
  : >"$log"
  TESSARA_SETUP_RECORD=$(winpath "$SCRATCH/record.txt") TESSARA_SETUP_HOLD=held-setup.exe \
    start_line_code 'C:\setup.exe'
  run_wizard_steps 120 "$log" layout:sheet shot:information-$dpi \
    next layout:sheet shot:prerequisites-$dpi next layout:Downloading... \
    "wait:Please press the Next button to install" next "layout:Launching PreRequisites" \
    release installed layout:sheet shot:installed-$dpi finish
  assert_eq "$(wait_line_code)" 0 "the setup's exit code at $dpi dpi"
  grep -q '^FAILED' "$log" && fail "a step failed at $dpi dpi: $(cat "$log")"
  grep '^BAD' "$log" && fail "controls clipped or overlapping at $dpi dpi (above)"
  [ "$(grep -c '^LAYOUT' "$log")" -eq 5 ] || fail "not every window was read at $dpi dpi: $(cat "$log")"
  width[$dpi]=$(sed -n 's/^LAYOUT sheet .* \([0-9]*\)x[0-9]*$/\1/p' "$log" | head -1)
  # The columns of fixed width: the prerequisites' Name, the downloads' Status.
  name_column[$dpi]=$(sed -n 's/^COLUMNS sheet \([0-9]*\) .*/\1/p' "$log" | head -1)
  status_column[$dpi]=$(sed -n 's/^COLUMNS Downloading\.\.\. [0-9]* \([0-9]*\)$/\1/p' "$log")
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
