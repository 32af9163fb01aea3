#!/usr/bin/env bash
# Builds the native code with clang, AddressSanitizer and UndefinedBehaviorSanitizer (the
# first report ends the program), in build/sanitize, then
#   run.sh unit                  runs the native unit tests once under the sanitizers
#   run.sh fuzz [SECONDS [T...]] runs each fuzz target (or only T...) for SECONDS (default 30)
#                                from its seed corpus in tests/fuzz/corpus/<target>,
#                                TESSARA_FUZZ_JOBS of them at once (default 1)
# and fails on any finding. A finding's input is kept in build/sanitize/fuzz/<target>/; once
# the fault is mended, copy it into the target's corpus so that every test run replays it.
# Prints per target: executions, executions per second, coverage (edges and features), corpus.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/sanitize"
targets=(archive profile version search_string url_name download_resume config_check command_line
  stub language)
# vptr is off: the product is built without RTTI, the tests with it, and the check misfires.
# The library's own checks (_GLIBCXX_ASSERTIONS) catch an index past a string's end, which
# ASan misses while it stays inside the string's capacity.
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined,fuzzer-no-link \
-fno-sanitize=vptr -fno-sanitize-recover=all -D_GLIBCXX_ASSERTIONS"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

build_all() {
  cmake -S "$root" -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE= \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTESSARA_FUZZ=ON \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null &&
    cmake --build "$build" -j 2 --target unit_tests "${targets[@]/#/fuzz_}" >"$build.log" 2>&1 ||
    { tail -n 40 "$build.log"; echo "the sanitizer build failed" >&2; return 1; }
}

run_unit() {
  (cd "$build/tests" && ./unit_tests --gtest_brief=1) && echo "unit tests: clean under ASan+UBSan"
}

# One target for a fixed time; prints its figures, fails on a finding.
run_target() { # target seconds
  local t=$1 seconds=$2 work="$build/fuzz/$1"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  local dict=()
  [ -f "$root/tests/fuzz/$t.dict" ] && dict=(-dict="$root/tests/fuzz/$t.dict")
  "$build/tests/fuzz_$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "${dict[@]}" \
    "$work/corpus" "$root/tests/fuzz/corpus/$t" >"$work/log" 2>&1
  local status=$?
  local done_line runs rate
  done_line=$(grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)' "$work/log" | tail -n 1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
  printf '%-16s %9s runs %7s exec/s  cov %-5s ft %-5s corpus %s\n' "$t" "${runs:-?}" "${rate:-?}" \
    "$(echo "$done_line" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')" \
    "$(echo "$done_line" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')" \
    "$(echo "$done_line" | sed -n 's/.* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p')"
  if [ $status -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
    grep -E 'ERROR|runtime error|fuzz check failed|SUMMARY|Test unit written' "$work/log" | head -n 20
    echo "FINDING in $t (exit $status); input kept in $work/artifacts" >&2
    return 1
  fi
}

# TESSARA_FUZZ_JOBS targets run at once (1 by default); their figures follow in target order.
run_fuzz() { # seconds [targets]
  local seconds=${1:-30}
  shift || true
  local chosen=("$@") jobs=${TESSARA_FUZZ_JOBS:-1} failed=0 lane t pids=()
  [ ${#chosen[@]} -gt 0 ] || chosen=("${targets[@]}")
  mkdir -p "$build/fuzz"
  # Every target takes the same time, so each lane takes every jobs-th target in turn.
  for ((lane = 0; lane < jobs && lane < ${#chosen[@]}; lane++)); do
    (
      status=0
      for ((i = lane; i < ${#chosen[@]}; i += jobs)); do
        run_target "${chosen[i]}" "$seconds" >"$build/fuzz/${chosen[i]}.report" 2>&1 || status=1
      done
      exit $status
    ) &
    pids+=($!)
  done
  for lane in "${pids[@]}"; do
    wait "$lane" || failed=1
  done
  for t in "${chosen[@]}"; do
    cat "$build/fuzz/$t.report"
  done
  return $failed
}

case ${1:-} in
  unit) build_all && run_unit ;;
  fuzz) shift; build_all && run_fuzz "$@" ;;
  *) sed -n '2,10p' "$0"; exit 1 ;;
esac
