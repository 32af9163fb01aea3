#!/usr/bin/env bash
# Builds the presets and runs every test: native unit tests, the unit tests under ASan+UBSan and
# each fuzz target, Windows unit tests under Wine, and the end-to-end scripts under Wine and Xvfb.
# Most of it waits on Wine, so the work overlaps: the three builds (both presets and the
# sanitizer build) run together; then the end-to-end scripts run several at once, each on an X
# display of its own and in prefixes of its own, beside the Windows unit tests, while the
# processor-bound work (what is left of the sanitizer build, its unit run, the fuzz targets and
# the native unit tests) goes on at a lower priority, so that the time-limited Wine runs keep
# the processor. Prints PASS or FAIL for each item as it ends and `N passed, N failed` last; exits
# non-zero when anything fails. An end-to-end script's log is build/test-run/<script>.log, the
# other logs are in build/test-run/logs.
#   TESSARA_E2E_JOBS   end-to-end scripts at once (default 4)
#   TESSARA_FUZZ_JOBS  fuzz targets at once, each for its 30 s (default 2)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export TESSARA_ROOT=$root
. tests/support/wine-env.sh

e2e_jobs=${TESSARA_E2E_JOBS:-4}
[[ $e2e_jobs =~ ^[1-9][0-9]*$ ]] || { echo "TESSARA_E2E_JOBS is not a count: $e2e_jobs"; exit 2; }
# The longest scripts start first, so that no long one is left to run alone at the end; a
# script not named here follows in name order.
e2e_first=(setup_exit_codes wizard packer_windows setup_errors prereq_wizard install_runner
  setup_vendor_face setup_command_line setup_moved_and_signed download_dialog setup_dll_planting
  setup_offline prereq_msi setup_title prereq_restart prereq_quiet)

passed=0
failed=0
failures=()
record() { # name status
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $1"
  else
    failed=$((failed + 1))
    failures+=("$1")
    echo "FAIL $1"
  fi
}

rm -rf "$TESSARA_TEST_ROOT"
logs=$TESSARA_TEST_ROOT/logs
mkdir -p "$logs"

# Background jobs. Each writes its exit status to logs/<id>.status when it ends, which the loop
# below looks for; its output goes to its log.
declare -A job_pid job_start job_log
start_job() { # id log command...
  local id=$1
  job_log[$id]=$2
  shift 2
  rm -f "$logs/$id.status"
  ("$@" >"${job_log[$id]}" 2>&1 </dev/null; echo $? >"$logs/$id.status") &
  job_pid[$id]=$!
  job_start[$id]=$(date +%s)
}
job_status() { # id: prints the status once the job has ended, else fails
  [ -s "$logs/$1.status" ] || return 1
  wait "${job_pid[$1]}" 2>/dev/null
  cat "$logs/$1.status"
}
# Ends a job and everything it started, children first (timeout passes the signal on to the
# script it runs).
end_tree() {
  local child
  for child in $(pgrep -P "$1"); do end_tree "$child"; done
  kill "$1" 2>/dev/null
}
# Lowers the priority of a job and of everything it started; what they start later inherits it.
lower_tree() {
  local child
  renice -n 10 -p "$1" >/dev/null 2>&1
  for child in $(pgrep -P "$1"); do lower_tree "$child"; done
}
end_jobs() {
  local id
  for id in "${!job_pid[@]}"; do
    [ -s "$logs/$id.status" ] || end_tree "${job_pid[$id]}"
  done
}
trap 'end_jobs' EXIT
trap 'exit 130' INT TERM

# Where the 32-bit build is not the one tested, only what ships of it is built: the stub and the
# Windows packer, which the release holds.
build() {
  local targets=()
  if [ "$1" = windows ] && [ "$TESSARA_WIN_PRESET" != windows ]; then
    targets=(--target tessara-stub tessara-pack)
  fi
  cmake --preset "$1" && cmake --build --preset "$1" "${targets[@]}"
}
sanitized_units() { bash tests/fuzz/run.sh unit; }
fuzz_targets() { TESSARA_FUZZ_JOBS=${TESSARA_FUZZ_JOBS:-2} nice -n 10 bash tests/fuzz/run.sh fuzz 30; }
native_units() { nice -n 10 ctest --preset native; }
# Every Wine start of the Windows unit tests brings up an X display of its own (wine-run.sh).
windows_units() { env -u DISPLAY ctest --preset "$TESSARA_WIN_PRESET"; }

# One end-to-end script on an X display of its own under its time limit. Its prefixes are listed
# in logs/<name>.prefixes; whatever the script left running in them is ended with it.
e2e_script() { # name
  unset DISPLAY
  tess_display || return 1
  local list="$logs/$1.prefixes" status prefix
  : >"$list"
  TESS_PREFIX_RECORD=$list timeout 900 bash "tests/e2e/$1.sh"
  status=$?
  while IFS= read -r prefix; do
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
  done <"$list"
  kill "$TESS_XVFB_PID" 2>/dev/null
  return $status
}

wall_start=$(date +%s)
# The 32-bit Windows build is always made (it is what ships); on a machine without 32-bit user
# code every Windows test runs the x86-64 build (tests/support/wine-env.sh).
builds=(native windows)
if [ "$TESSARA_WIN_PRESET" != windows ]; then
  builds+=("$TESSARA_WIN_PRESET")
  echo "This machine runs no 32-bit user code: every Windows test runs the x86-64 build of the" \
    "same sources in a 64-bit Wine prefix; the shipped 32-bit build is built but not run."
fi
for preset in "${builds[@]}"; do
  start_job "build-$preset" "$logs/build-$preset.log" build "$preset"
done
start_job sanitized-units "$logs/sanitized-units.log" sanitized_units

# Names of the end-to-end scripts in the order they start.
e2e_queue=()
for name in "${e2e_first[@]}"; do
  [ -e "tests/e2e/$name.sh" ] && e2e_queue+=("$name")
done
for script in tests/e2e/*.sh; do
  [ -e "$script" ] || continue
  name=$(basename "$script" .sh)
  [[ " ${e2e_first[*]} " == *" $name "* ]] || e2e_queue+=("$name")
done

built=0
e2e_running=0
e2e_sum=0
e2e_times=()
e2e_start=
e2e_end=
# What each kind of job reports when it ends.
declare -A title=([native-units]="native unit tests"
  [sanitized-units]="native unit tests under ASan+UBSan" [fuzz-targets]="fuzz targets, 30 s each"
  [windows-units]="Windows unit tests under Wine ($WINEARCH)")
while :; do
  for id in "${!job_pid[@]}"; do
    status=$(job_status "$id") || continue
    unset "job_pid[$id]"
    seconds=$(($(date +%s) - job_start[$id]))
    case $id in
      build-*)
        preset=${id#build-}
        if [ "$status" -ne 0 ]; then
          tail -n 40 "${job_log[$id]}"
          echo "build of $preset failed"
          echo "$passed passed, $((failed + 1)) failed"
          exit 1
        fi
        echo "built $preset in $seconds s"
        built=$((built + 1))
        if [ "$preset" = native ]; then
          start_job native-units "$logs/native-units.log" native_units
        elif [ "$preset" = "$TESSARA_WIN_PRESET" ]; then
          start_job windows-units "$logs/windows-units.log" windows_units
        fi
        if [ $built -eq ${#builds[@]} ]; then
          e2e_start=$(date +%s)
          [ -n "${job_pid[sanitized-units]:-}" ] && lower_tree "${job_pid[sanitized-units]}"
        fi
        ;;
      e2e-*)
        name=${id#e2e-}
        e2e_running=$((e2e_running - 1))
        e2e_sum=$((e2e_sum + seconds))
        e2e_times+=("$name $seconds s")
        if [ "$status" -eq 0 ]; then
          # A passing script's Wine prefixes (hundreds of MB each) go; logs and screenshots stay.
          xargs -r -d '\n' rm -rf <"$logs/$name.prefixes"
        else
          echo "-- $name, last lines of ${job_log[$id]}:"
          tail -n 40 "${job_log[$id]}"
        fi
        record "$name" "$status"
        ;;
      *)
        cat "${job_log[$id]}"
        record "${title[$id]}" "$status"
        [ "$id" = sanitized-units ] && start_job fuzz-targets "$logs/fuzz-targets.log" fuzz_targets
        ;;
    esac
  done
  while [ $built -eq ${#builds[@]} ] && [ ${#e2e_queue[@]} -gt 0 ] && [ $e2e_running -lt "$e2e_jobs" ]; do
    name=${e2e_queue[0]}
    e2e_queue=("${e2e_queue[@]:1}")
    echo "== $name"
    start_job "e2e-$name" "$TESSARA_TEST_ROOT/$name.log" e2e_script "$name"
    e2e_running=$((e2e_running + 1))
  done
  if [ -z "$e2e_end" ] && [ $built -eq ${#builds[@]} ] && [ ${#e2e_queue[@]} -eq 0 ] && [ $e2e_running -eq 0 ]; then
    e2e_end=$(date +%s)
  fi
  [ ${#job_pid[@]} -eq 0 ] && break
  sleep 0.5
done

# The times show which scripts to start first (e2e_first above).
times=$(printf '%s, ' "${e2e_times[@]}")
echo "end-to-end scripts: ${times%, }"
echo "end-to-end scripts: $((e2e_end - e2e_start)) s from the first start to the last end," \
  "$e2e_sum s added up; everything: $(($(date +%s) - wall_start)) s"
if [ ${#failures[@]} -gt 0 ]; then
  printf 'failed: %s\n' "${failures[@]}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
