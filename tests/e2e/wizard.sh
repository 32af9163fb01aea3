#!/usr/bin/env bash
# The prerequisites wizard under Wine and Xvfb, as a user meets it: a test program packed as a
# setup (configuration, recording setups) detects against the real registry and shows the
# wizard; a driver reads and clicks the real windows.
#   main (four runs): Cancel on the information page; the prerequisites page read, the action
#          combo used, Back and Next, Browse cancelled, then the close box; twice both passes
#          (a download from the test server, setups from the archive and the download folder in
#          configuration order, one that cannot start), then Finish. Handles, GDI and USER
#          objects are counted around the last run.
#   other (three runs): Finish on the information page runs nothing; the download dialog
#          cancelled shows "Download aborted."; a download folder that cannot be written shows
#          the save error and stays empty.
#   retry (one run): Browse to drive C: shows "C:\" and finds a complete download there; a
#          mandatory download the server does not have yet reads "Not Found", keeps Finish
#          disabled and is fetched again by the next Next; then Esc cancels.
# Screenshots of both pages, the folder browser, the launch window and the boxes are kept.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
. "$(dirname "$0")/../support/inputs.sh"
name=wizard
work="$TESSARA_TEST_ROOT/$name"
run="$TESSARA_WIN_BUILD/tests/wizard_run.exe"
driver="$TESSARA_WIN_BUILD/tests/wizard_driver.exe"
recorder="$TESSARA_WIN_BUILD/tests/recording_setup.exe"
pack="$TESSARA_NATIVE_BUILD/packer/tessara-pack"
for tool in python3 wine wineserver import identify Xvfb xdpyinfo chattr; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done
for f in "$run" "$driver" "$recorder" "$pack"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done
[ -d "$work/locked" ] && chattr -i "$work/locked" 2>/dev/null
rm -rf "$work"
mkdir -p "$work/srv" "$work/ack" "$work/shots" "$work/main/again" "$work/other" \
  "$work/locked" "$work/retry"
tess_display || exit 1
tess_new_prefix "$work/prefix" || exit 1

server_pid=
cleanup() {
  chattr -i "$work/locked" 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
. "$(dirname "$0")/../support/http-server.sh"
tess_start_http_server "$work/srv" "$work" 1500 || exit 1
# Start the prefix's services once, so that the two programs share one desktop.
wine cmd.exe /c exit >/dev/null 2>&1

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# What detection finds: the tool below its range, the library inside it.
wine reg add 'HKLM\SOFTWARE\TessaraWizardTest\Tool' /v Version /d 1.5 /f >/dev/null 2>&1
wine reg add 'HKLM\SOFTWARE\TessaraWizardTest\Lib' /v Version /d 1.4.2 /f >/dev/null 2>&1

cp "$recorder" "$work/srv/web-setup.exe"
head -c 3000000 /dev/urandom >"$work/srv/slow.bin"
cp "$recorder" "$work/local-setup.exe"
cp "$recorder" "$work/lib-setup.exe"
# A complete download of App5 lies in both download folders; the driver deletes it before the
# install pass, so that its setup cannot be started.
fake_program "$work/main/broken-setup.exe" 300
cp "$work/main/broken-setup.exe" "$work/main/again/broken-setup.exe"
fake_msi "$work/package.msi" 100
web_size=$(stat -c %s "$work/srv/web-setup.exe")
# The retry setup's mandatory download reaches the server only once the first try has failed;
# its optional one lies complete at the root of drive C:.
cp "$recorder" "$work/late-setup.exe"
fake_program "$work/prefix/drive_c/rooted-setup.exe" 200

key='HKLM\SOFTWARE\TessaraWizardTest'
cat >"$work/main.ini" <<INI
[PREREQUISITES]
App1=Local Tool
App2=Web Runtime
App3=Present Lib
App4=Old OS Only
App5=Broken Setup
[App1]
SetupFile=local-setup.exe
CommandLine=/quiet /norestart
Options=m
SearchType=2
SearchString=$key\\Tool\\Version
VerMin=2.0
[App2]
Url=$base/rate=300000/files/web-setup.exe
ExactSize=$web_size
CommandLine=
SearchType=2
SearchString=$key\\Runtime\\Version
[App3]
SetupFile=lib-setup.exe
SearchType=2
SearchString=$key\\Lib\\Version
VerMin=1.4
VerMax=1.5
[App4]
SetupFile=lib-setup.exe
TargetOS=0
SearchType=2
SearchString=$key\\Old\\Version
[App5]
Url=$base/files/broken-setup.exe
ExactSize=300
SearchType=2
SearchString=$key\\Broken\\Version
INI
cat >"$work/other.ini" <<INI
[PREREQUISITES]
App1=Web Runtime
[App1]
Url=$base/rate=4096/files/slow.bin
ExactSize=3000000
SearchType=2
SearchString=$key\\Runtime\\Version
INI
cat >"$work/retry.ini" <<INI
[PREREQUISITES]
App1=Core Runtime
App2=Rooted Tool
[App1]
Url=$base/files/late-setup.exe
ExactSize=$(stat -c %s "$work/late-setup.exe")
Options=m
SearchType=2
SearchString=$key\\Core\\Version
[App2]
Url=$base/files/rooted-setup.exe
ExactSize=200
SearchType=2
SearchString=$key\\Rooted\\Version
INI

python3 "$(dirname "$0")/../support/gui_stub.py" "$run" "$work/wizard_run.exe" || exit 1
pack_setup() { # folder config prerequisites...
  local folder=$1 config=$2
  shift 2
  local args=()
  for p in "$@"; do args+=(--prereq "$work/$p"); done
  "$pack" pack --stub "$work/wizard_run.exe" --msi "$work/package.msi" --config "$work/$config" "${args[@]}" \
    -o "$work/$folder/setup.exe" >"$work/$folder.pack" 2>&1
}
check "main setup packed" pack_setup main main.ini local-setup.exe lib-setup.exe
check "other setup packed" pack_setup other other.ini
check "retry setup packed" pack_setup retry retry.ini

# The wizard's title: the product name of the test program's version resource and " Setup".
product=$(sed -n 's/^TESSARA_PRODUCT_NAME:[A-Z]*=//p' "$TESSARA_WIN_BUILD/CMakeCache.txt")
[ -n "$product" ] || { echo "no product name in the build"; exit 1; }

# Runs the driver, taking a screenshot whenever it asks for one.
drive() { # mode
  wine "$driver" "$1" "$(winpath "$work/ack")" "$product Setup" 2>/dev/null | while IFS= read -r line; do
    line=${line%$'\r'}
    echo "$line"
    case $line in
    SHOT\ *)
      shot=${line#SHOT }
      import -window root "$work/shots/$shot.png" 2>/dev/null
      # The setups here install nothing, and a setup whose prerequisite is still not found
      # afterwards has failed: once the runs have made their decisions (the first page is up),
      # what Local Tool and Web Runtime would install is put in place for the searches after
      # their setups.
      if [ "$shot" = information ]; then
        wine reg add 'HKLM\SOFTWARE\TessaraWizardTest\Tool' /v Version /d 2.0 /f >/dev/null 2>&1
        wine reg add 'HKLM\SOFTWARE\TessaraWizardTest\Runtime' /v Version /d 1.0 /f >/dev/null 2>&1
      fi
      [ "$shot" = retry-failed ] && cp "$work/late-setup.exe" "$work/srv/late-setup.exe"
      touch "$work/ack/$shot"
      ;;
    esac
  done
}

# Runs one test setup under the driver: run_driven MODE MIN_OK SETUP_ARGS... Waits for both,
# checks the exit code and the driver's checks (none BAD, at least MIN_OK OK) and leaves the
# setup's report in $out.
run_driven() {
  local mode=$1 min_ok=$2 status
  shift 2
  timeout 300 wine "$work/$mode/setup.exe" "$@" >"$work/$mode.raw" 2>/dev/null &
  local run_pid=$!
  drive "$mode" | tee "$work/$mode.driver"
  wait "$run_pid"
  status=$?
  tr -d '\r' <"$work/$mode.raw" >"$work/$mode.out"
  out="$work/$mode.out"
  check "$mode: exit code 0" test "$status" -eq 0
  check "$mode: every driver check held" test "$(grep -c '^BAD' "$work/$mode.driver")" -eq 0
  check "$mode: driver checks ran" test "$(grep -c '^OK' "$work/$mode.driver")" -ge "$min_ok"
}

# --- main ---
record="$work/record.txt"
rm -f "$record"
TESSARA_SETUP_RECORD=$(winpath "$record") TESSARA_SETUP_HOLD=local-setup.exe \
  run_driven main 60 --runs 4 --folder "$(winpath "$work/main/again")"
check "main run 1 (Cancel): cancelled" grep -qx "RUN 1 CANCELLED 1" "$out"
check "main run 1: actions untouched" test "$(grep '^RUN 1 ACTION' "$out" | cut -d' ' -f5 | tr '\n' ' ')" = "1 2 0 3 6 "
check "main run 2 (close box): cancelled" grep -qx "RUN 2 CANCELLED 1" "$out"
check "main run 2: choices kept in the plan" test "$(grep '^RUN 2 ACTION' "$out" | cut -d' ' -f5 | tr '\n' ' ')" = "1 2 0 3 6 "
for n in 3 4; do
  check "main run $n (Finish): not cancelled" grep -qx "RUN $n CANCELLED 0" "$out"
  check "main run $n: final actions" test "$(grep "^RUN $n ACTION" "$out" | cut -d' ' -f5 | tr '\n' ' ')" = "8 8 0 3 0 "
done
check "main: download kept in the setup's folder" cmp -s "$work/main/web-setup.exe" "$work/srv/web-setup.exe"
check "main: and in the folder of the last run" cmp -s "$work/main/again/web-setup.exe" "$work/srv/web-setup.exe"
pair=$'local-setup.exe|[ /quiet /norestart]|Local Tool\nweb-setup.exe|<none>|Web Runtime'
expected_record="$pair"$'\n'"$pair"
actual_record=$(tr -d '\r' <"$record" 2>/dev/null)
check "main: setups in configuration order, empty CommandLine passes nothing" test "$actual_record" = "$expected_record"
[ "$actual_record" = "$expected_record" ] || printf 'record:\n%s\n' "$actual_record"
check "main: extracted setups removed from the temporary folder" \
  test -z "$(ls "$(tess_temp_dir)" 2>/dev/null | grep -E 'setup|\.ini$')"
# Handles, GDI and USER objects around the second run with both passes (the first one met every
# window for the first time, when the system's caches grow).
read -r _ _ k0 g0 u0 < <(grep '^COUNTS before' "$out" | tail -1)
read -r _ _ k1 g1 u1 < <(grep '^COUNTS after' "$out" | tail -1)
echo "counts before: handles=$k0 gdi=$g0 user=$u0; after: handles=$k1 gdi=$g1 user=$u1"
# The handles the last run left open, named by the program (none: the run before it loaded the
# libraries the download needs, which stay).
left=$(awk '/^COUNTS before/{n=0; delete h} /^NEW_HANDLE/{h[n++]=$0} END{for(i=0;i<n;i++) print h[i]}' "$out")
echo "${left:-no handle left open}"
check "main: no kernel handle left behind ($k0 -> $k1)" test -z "$left"
check "main: no GDI object left behind ($g0 -> $g1)" test "${g1:-999}" -le "${g0:-0}"
check "main: no USER object left behind ($u0 -> $u1)" test "${u1:-999}" -le "${u0:-0}"

# --- other ---
# Its runtime is missing again, as at the start.
wine reg delete 'HKLM\SOFTWARE\TessaraWizardTest\Runtime' /f >/dev/null 2>&1
chattr +i "$work/locked" || { echo "cannot lock $work/locked"; exit 1; }
run_driven other 15 --runs 3 --folder "$(winpath "$work/locked")"
check "other run 1 (Finish on the first page): not cancelled" grep -qx "RUN 1 CANCELLED 0" "$out"
check "other run 1: nothing done" grep -qx "RUN 1 ACTION 0 2 Download" "$out"
# Run 1 fetched nothing: only runs 2 and 3 asked the server.
check "other: the server asked twice" test "$(grep -c 'slow.bin' "$work/requests.log")" -eq 2
check "other run 2 (aborted): cancelled, Download kept" grep -qx "RUN 2 ACTION 0 2 Download" "$out"
check "other run 3 (folder not writable): DownloadFailed" grep -qx "RUN 3 ACTION 0 5 Not Found" "$out"
check "other: nothing written into the folder" test -z "$(ls -A "$work/locked")"

# --- retry ---
run_driven retry 18 --runs 1
check "retry: Esc cancelled the wizard" grep -qx "RUN 1 CANCELLED 1" "$out"
check "retry: both rows ready to install" \
  test "$(grep '^RUN 1 ACTION' "$out" | cut -d' ' -f5 | tr '\n' ' ')" = "4 6 "
check "retry: the mandatory download asked for twice" \
  test "$(grep -c 'late-setup.exe' "$work/requests.log")" -eq 2
check "retry: the download found at the drive root not fetched" \
  test "$(grep -c 'rooted-setup.exe' "$work/requests.log")" -eq 0
check "retry: the download saved at the drive root" \
  cmp -s "$work/prefix/drive_c/late-setup.exe" "$work/late-setup.exe"

for shot in information prerequisites browse launch installed aborted savefailed retry-failed; do
  file="$work/shots/$shot.png"
  colours=$(identify -format '%k' "$file" 2>/dev/null || echo 0)
  check "screenshot $shot is not blank ($colours colours)" test "${colours:-0}" -gt 8
done

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
