#!/usr/bin/env bash
# Start-up of a setup whose configuration lists 50 prerequisites (none installed): the time
# from the start of the process to the wizard's first page under Wine, measured by a program in
# the same prefix that starts the setup and watches for the page's Next button. Median of 5;
# the same program starting a plain setup that shows its error box at once is the baseline,
# and the ratio is printed last.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch bench_wizard_first_page
need_tools wine wixl bc
tess_display || fail "no X display"
TIMER="$TESSARA_WIN_BUILD/tests/first_page_timer.exe"
[ -f "$TIMER" ] || fail "no $TIMER: build the windows preset first"
build_sample_msi
cp "$RECORDING_SETUP" "$SCRATCH/runtime-setup.exe"
# TESS_PREREQ_COUNT changes the number of prerequisites (for comparison runs).
count=${TESS_PREREQ_COUNT:-50}
{
  echo "[PREREQUISITES]"
  for i in $(seq "$count"); do echo "App$i=Runtime $i"; done
  for i in $(seq "$count"); do
    printf '\n[App%d]\nSetupFile=runtime-setup.exe\nSearchType=2\n' "$i"
    printf 'SearchString=HKLM\\Software\\Tessara Bench\\Runtime %d\\Version\nVerMin=1.%d\n' "$i" "$i"
  done
  printf '\n[GeneralOptions]\nMainAppCmdLine=/qn\n'
} >"$SCRATCH/sample.ini"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" -o "$SCRATCH/setup.exe" >/dev/null || fail "packing failed"
# The baseline: the stub alone, which shows its "no archive" box straight away.
cp "$STUB" "$SCRATCH/bare.exe"
tess_new_prefix "$SCRATCH/prefix"
cp "$SCRATCH/setup.exe" "$SCRATCH/bare.exe" "$TIMER" "$(drive_c)/"
# Without a window manager (Xvfb) Wine waits 2 s for every window hidden or destroyed to be
# withdrawn by one that never answers; unmanaged windows are what a desktop's prompt
# answer looks like.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -p 600
trap 'wineserver -k' EXIT
wine cmd /c exit >/dev/null 2>&1

measure() { # setup, button; prints milliseconds
  wine 'C:\first_page_timer.exe' "$1" "$2" 2>/dev/null | tr -d '\r' | sed -n 's/^first page ms: //p'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
wizard=()
bare=()
for _ in 1 2 3 4 5; do
  w=$(measure 'C:\setup.exe' 'Cancel')
  [ -n "$w" ] || fail "the wizard's first page did not appear"
  wizard+=("$w")
  b=$(measure 'C:\bare.exe' 'OK')
  [ -n "$b" ] || fail "the bare stub's box did not appear"
  bare+=("$b")
done
echo "first wizard page, $count prerequisites (ms): ${wizard[*]}"
echo "error box of the bare stub (ms): ${bare[*]}"
mw=$(median "${wizard[@]}")
mb=$(median "${bare[@]}")
echo "median first wizard page ms: $mw"
echo "median bare error box ms: $mb"
echo "ratio first page / bare start: $(echo "scale=2; $mw / $mb" | bc -l)"
