# Sourced by the tests and scripts that work every window of the wizard on screen (after
# setup-e2e.sh and http-server.sh): a setup with a carried prerequisite, whose setup stays open
# until released, and a downloaded one served slowly enough to read its window, packed with
# every shipped language file.
#   make_wizard_setup            writes $SCRATCH/setup.exe and starts the HTTP server
#   work_wizard TAG LOG [ARG]    runs it (with ARG on its command line) in the current prefix
#                                and works it to the end: the layout of each window checked
#                                (LAYOUT/BAD lines in LOG), with WIZARD_SHOTS=1 each shot as
#                                $SCRATCH/shots/<window>-TAG.png, with WIZARD_TEXTS=1 every text
#                                of each window in LOG (window_texts.h)
#   make_extraction_setup        writes $SCRATCH/big.exe: a package large enough that the
#                                window of its extraction stays up a while, every language
#   work_extraction TAG LOG      runs it and checks that window's layout (with WIZARD_SHOTS=1
#                                shoots it instead as extracting-TAG.png: it is not up for both)
#   shipped_languages            the language files that ship, one a line
#   locale_of FILE               the locale whose UI language the file serves (de_DE.UTF-8)
shipped_languages() { ls "$TESSARA_ROOT"/languages/*.lang; }
locale_of() { basename "$1" .lang | sed 's/-/_/; s/$/.UTF-8/'; }

make_wizard_setup() {
  build_sample_msi
  mkdir -p "$SCRATCH/srv"
  cp "$RECORDING_SETUP" "$SCRATCH/held-setup.exe"
  cp "$RECORDING_SETUP" "$SCRATCH/srv/web-setup.exe"
  tess_start_http_server "$SCRATCH/srv" "$SCRATCH" || fail "the test HTTP server did not start"
  local size languages=() file
  size=$(stat -c %s "$SCRATCH/srv/web-setup.exe")
  for file in $(shipped_languages); do languages+=(--language "$file"); done
  # The download takes about four seconds, long enough to read its window.
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
Url=$base/rate=$((size / 4))/web-setup.exe
CommandLine=/install=Web:1.0
ExactSize=$size
SearchType=2
SearchString=HKLM\\Software\\Tessara Tests\\Web\\Version

[GeneralOptions]
MainAppCmdLine=/qn
Options=Q
INI
  "$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
    --prereq "$SCRATCH/held-setup.exe" --product-name "Tessara Sample" "${languages[@]}" \
    -o "$SCRATCH/setup.exe" >/dev/null || fail "packing failed"
}

work_wizard() {
  local tag=$1 log=$2 arg=${3:-}
  record_package_launches
  cp "$SCRATCH/setup.exe" "$TESSARA_WIN_BUILD/tests/wizard_steps.exe" "$(drive_c)/"
  rm -f "$SCRATCH/record.txt"
  : >"$log"
  TESSARA_SETUP_RECORD=$(winpath "$SCRATCH/record.txt") TESSARA_SETUP_HOLD=held-setup.exe \
    start_line_code "C:\\setup.exe $arg"
  # Each window: its layout, then its texts and its shot when asked for.
  local steps=() window name
  at() {
    steps+=("layout:$1")
    [ "${WIZARD_TEXTS:-}" = 1 ] && steps+=("texts:$1")
    [ "${WIZARD_SHOTS:-}" = 1 ] && steps+=("shot:$2-$tag$([ "$1" = sheet ] || echo ":$1")")
  }
  at sheet information
  steps+=(next)
  at sheet prerequisites
  steps+=(next)
  at "#1007" downloading
  steps+=(next)
  at "#1018" launching
  steps+=(release installed)
  at sheet installed
  steps+=(finish)
  run_wizard_steps 120 "$log" "${steps[@]}"
  assert_eq "$(wait_line_code)" 0 "the setup's exit code ($tag)"
  grep -q '^FAILED' "$log" && fail "a step failed ($tag): $(cat "$log")"
  [ "$(grep -c '^LAYOUT' "$log")" -eq 5 ] || fail "not every window was read ($tag): $(cat "$log")"
}

make_extraction_setup() {
  local languages=() file
  for file in $(shipped_languages); do languages+=(--language "$file"); done
  mkdir -p "$SCRATCH/big"
  fake_msi "$SCRATCH/big/sample.msi" 300000000 /dev/zero
  "$PACK" pack --stub "$STUB" --msi "$SCRATCH/big/sample.msi" --product-name "Tessara Sample" \
    "${languages[@]}" -o "$SCRATCH/big.exe" >/dev/null || fail "packing the large setup failed"
}

work_extraction() {
  local tag=$1 log=$2 step=layout:#1001
  [ "${WIZARD_SHOTS:-}" = 1 ] && step="shot:extracting-$tag:#1001"
  use_launch_recorder
  cp "$SCRATCH/big.exe" "$TESSARA_WIN_BUILD/tests/wizard_steps.exe" "$(drive_c)/"
  : >"$log"
  start_line_code 'C:\big.exe'
  run_wizard_steps 60 "$log" "$step"
  assert_eq "$(wait_line_code)" 0 "the extraction run's exit code ($tag)"
  grep -q "^done $step" "$log" || fail "the extraction window was not read ($tag): $(cat "$log")"
}
