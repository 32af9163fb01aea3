#!/usr/bin/env bash
# The layers check fails on what it is there to catch, planted in a small tree of its own: two
# units that include each other through their sources only (no file includes itself), and an
# include up the floors. The same tree without them passes.
set -u
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/base" "$tree/prereq" "$tree/app"
printf '#pragma once\n' >"$tree/base/a.h"
printf '#pragma once\n' >"$tree/base/b.h"
printf '#pragma once\n' >"$tree/app/run.h"
printf '#include "base/a.h"\n' >"$tree/prereq/list.cpp"
printf '#include "base/a.h"\n#include "base/b.h"\n' >"$tree/base/a.cpp"
python3 "$check" "$tree" >/dev/null || { echo "a tree without faults failed"; exit 1; }
printf '#include "base/b.h"\n#include "base/a.h"\n' >"$tree/base/b.cpp"
printf '#include "app/run.h"\n' >>"$tree/prereq/list.cpp"
out=$(python3 "$check" "$tree")
status=$?
echo "$out"
[ $status -eq 1 ] || { echo "the planted faults passed"; exit 1; }
grep -q 'units include each other: base/a -> base/b -> base/a\|units include each other: base/b -> base/a -> base/b' \
  <<<"$out" || { echo "the loop between base/a and base/b was not found"; exit 1; }
grep -q 'prereq/list.cpp:2: prereq/ may not include app/' <<<"$out" ||
  { echo "the include up the floors was not found"; exit 1; }
