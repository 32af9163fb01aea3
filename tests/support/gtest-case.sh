#!/usr/bin/env bash
# Runs one GoogleTest case as its own ctest entry, or checks a program's registration.
#   gtest-case.sh run <program> <Suite.Case>
#     passes only when the program exits 0, reports that very case OK, and did not end early
#     (GoogleTest's premature-exit file is gone): an exit() inside a case, a crash, a case that
#     no longer exists or one that skipped itself all fail.
#   gtest-case.sh list <program> <file of registered cases>
#     passes only when the program holds exactly the registered cases, so none goes unrun.
# Programs ending in .exe run under Wine through wine-run.sh.
set -u
support=$(cd "$(dirname "$0")" && pwd)
mode=$1 program=$2 arg=$3

run_program() { # arguments for the program; the premature-exit file as the program sees it
  if [[ $program == *.exe ]]; then
    TEST_PREMATURE_EXIT_FILE=${premature:+Z:${premature//\//\\}} "$support/wine-run.sh" "$program" "$@"
  else
    TEST_PREMATURE_EXIT_FILE=$premature "$program" "$@"
  fi
}

premature=
if [ "$mode" = list ]; then
  listed=$(run_program --gtest_list_tests | tr -d '\r' | awk '
    /^[^ ]/ { suite = $1; next }
    /^  [^ ]/ { print suite $1 }' | sort)
  registered=$(sort "$arg")
  if [ -z "$listed" ] || [ "$listed" != "$registered" ]; then
    echo "the program's cases and the registered ones differ (< program, > registered):"
    diff <(echo "$listed") <(echo "$registered")
    exit 1
  fi
  echo "$(echo "$listed" | wc -l) cases, each registered"
  exit 0
fi

premature=$(mktemp "${TMPDIR:-/tmp}/tessara-gtest-XXXXXX")
trap 'rm -f "$premature"' EXIT
rm -f "$premature" # GoogleTest creates it when the case starts and removes it at a normal end
output=$(run_program --gtest_filter="$arg" 2>&1)
status=$?
output=$(tr -d '\r' <<<"$output")
echo "$output"
if [ "$status" -ne 0 ]; then
  # Wine's debugger prints the unhandled exception (the test prefixes show no crash dialog).
  if [ "$status" -gt 128 ] || grep -q '^wine: Unhandled\|^Unhandled exception' <<<"$output"; then
    echo "CRASH: $arg crashed (exit status $status)"
  else
    echo "FAILED: $arg exited with status $status"
  fi
  exit 1
fi
if [ -e "$premature" ]; then
  echo "FAILED: $arg ended before GoogleTest finished (an exit() inside the case?)"
  exit 1
fi
if ! grep -qF "[       OK ] $arg (" <<<"$output"; then
  echo "FAILED: $arg did not run to a pass (no such case, or it was skipped)"
  exit 1
fi
