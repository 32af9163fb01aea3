#!/usr/bin/env bash
# Runs one GoogleTest case as its own ctest entry, or checks a program's registration.
#   gtest-case.sh run <program> <Suite.Case> [<folder of a shared run>]
#     passes only when that very case ran to a pass: the program exits 0, reports the case OK,
#     and did not end early (GoogleTest's premature-exit file is gone); an exit() inside a case,
#     a crash, a case that no longer exists or one that skipped itself all fail. With the folder
#     of a shared run (below) that ended normally, the case's verdict is its own lines there;
#     when that run crashed, ended early or did not take place, the case runs by itself.
#   gtest-case.sh shared <program> <folder>
#     runs all of the program's cases in one start (a Wine start costs seconds) and keeps what
#     the cases' entries read in the folder; it passes whatever the cases did, which their own
#     entries tell.
#   gtest-case.sh list <program> <file of registered cases>
#     passes only when the program holds exactly the registered cases, so none goes unrun.
# Programs ending in .exe run under Wine through wine-run.sh.
set -u
support=$(cd "$(dirname "$0")" && pwd)
mode=$1 program=$2 arg=$3 shared=${4:-}

limit=() # a time limit for the program, if any: timeout and its arguments
run_program() { # arguments for the program; the premature-exit file as the program sees it
  if [[ $program == *.exe ]]; then
    TEST_PREMATURE_EXIT_FILE=${premature:+Z:${premature//\//\\}} "${limit[@]}" "$support/wine-run.sh" "$program" "$@"
  else
    TEST_PREMATURE_EXIT_FILE=$premature "${limit[@]}" "$program" "$@"
  fi
}

# The lines of one case in a program's output, from its start to its verdict.
case_lines() { # file of the output, case
  awk -v start="[ RUN      ] $2" -v name="$2" '
    $0 == start { inside = 1 }
    inside { print }
    inside && (index($0, "[       OK ] " name " (") == 1 || index($0, "[  FAILED  ] " name " (") == 1 ||
               index($0, "[  SKIPPED ] " name " (") == 1) { exit }' "$1"
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

if [ "$mode" = shared ]; then
  folder=$arg
  rm -rf "$folder"
  mkdir -p "$folder"
  premature="$folder/premature-exit"
  # Below the entry's own time limit, so that the case entries still run after a hang.
  limit=(timeout -k 10 300)
  run_program 2>&1 | tr -d '\r' >"$folder/output"
  status=${PIPESTATUS[0]}
  # Normal: GoogleTest reached its closing line and returned 0 (all passed) or 1 (some failed).
  if { [ "$status" -eq 0 ] || [ "$status" -eq 1 ]; } && [ ! -e "$premature" ] &&
    grep -q '^\[==========\] .* ran\.' "$folder/output" &&
    ! grep -q '^wine: Unhandled\|^Unhandled exception' "$folder/output"; then
    touch "$folder/normal"
    echo "one start ran every case (exit status $status); each case's entry reads its own verdict"
  else
    echo "the shared run ended abnormally (exit status $status); each case runs by itself"
    tail -n 20 "$folder/output"
  fi
  exit 0
fi

name=$arg
if [ -n "$shared" ] && [ -e "$shared/normal" ] && [ "$shared/normal" -nt "$program" ]; then
  lines=$(case_lines "$shared/output" "$name")
  if [ -n "$lines" ]; then
    echo "$lines"
    if grep -qF "[       OK ] $name (" <<<"$lines"; then
      exit 0
    fi
    echo "FAILED: $name did not run to a pass in the shared run of the program's cases" \
      "(by itself: tests/support/gtest-case.sh run $program $name)"
    exit 1
  fi
  # Not in the shared run: the case by itself says why (most likely it no longer exists).
fi

premature=$(mktemp "${TMPDIR:-/tmp}/tessara-gtest-XXXXXX")
trap 'rm -f "$premature"' EXIT
rm -f "$premature" # GoogleTest creates it when the case starts and removes it at a normal end
output=$(run_program --gtest_filter="$name" 2>&1)
status=$?
output=$(tr -d '\r' <<<"$output")
echo "$output"
if [ "$status" -ne 0 ]; then
  # Wine's debugger prints the unhandled exception (the test prefixes show no crash dialog).
  if [ "$status" -gt 128 ] || grep -q '^wine: Unhandled\|^Unhandled exception' <<<"$output"; then
    echo "CRASH: $name crashed (exit status $status)"
  else
    echo "FAILED: $name exited with status $status"
  fi
  exit 1
fi
if [ -e "$premature" ]; then
  echo "FAILED: $name ended before GoogleTest finished (an exit() inside the case?)"
  exit 1
fi
if ! grep -qF "[       OK ] $name (" <<<"$output"; then
  echo "FAILED: $name did not run to a pass (no such case, or it was skipped)"
  exit 1
fi
