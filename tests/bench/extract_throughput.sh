#!/usr/bin/env bash
# Extraction throughput: `setup.exe /extract:` of a 512 MiB payload in several entries under
# Wine (start-up included) against `cp` of the same files on the same disk, in one run.
# Prints the ratio (setup time / cp time) last; best of three runs each.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch bench_extract
need_tools wine
tess_display || fail "no X display"
mkdir -p "$SCRATCH/pkg" "$SCRATCH/cp-out"
fake_msi "$SCRATCH/pkg/app.msi" $((256 << 20))
fake_cab "$SCRATCH/pkg/app.cab" $((128 << 20))
head -c $((64 << 20)) /dev/urandom >"$SCRATCH/pkg/data1.bin"
head -c $((64 << 20)) /dev/urandom >"$SCRATCH/pkg/data2.bin"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --cab "$SCRATCH/pkg/app.cab" \
  --file "$SCRATCH/pkg/data1.bin" --file "$SCRATCH/pkg/data2.bin" -o "$SCRATCH/setup.exe" >/dev/null ||
  fail "packing failed"
tess_new_prefix "$SCRATCH/prefix"
cp "$SCRATCH/setup.exe" "$(drive_c)/setup.exe"
mkdir -p "$(drive_c)/out"
# One Wine session for the whole run, as a user's desktop has: the program's own start-up is
# measured, not the server's.
wineserver -p 600
trap 'wineserver -k' EXIT
tess_expect_exit 0 wine cmd /c exit >/dev/null 2>&1 || fail "Wine does not start"

now() { date +%s.%N; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
setup_times=()
cp_times=()
for _ in 1 2 3; do
  rm -f "$(drive_c)"/out/*
  sync
  t0=$(now)
  TESS_RUN_LIMIT=600 tess_expect_exit 0 wine 'C:\setup.exe' '/extract:C:\out' >/dev/null ||
    fail "extract-only run"
  t1=$(now)
  setup_times+=("$(echo "$t1 - $t0" | bc -l)")
  # Every timed run must have done the work, not only the last one.
  for f in app.msi app.cab data1.bin data2.bin; do
    cmp -s "$SCRATCH/pkg/$f" "$(drive_c)/out/$f" || fail "$f differs after an extraction"
  done
  rm -f "$SCRATCH"/cp-out/*
  sync
  t0=$(now)
  cp "$SCRATCH"/pkg/app.msi "$SCRATCH"/pkg/app.cab "$SCRATCH"/pkg/data1.bin "$SCRATCH"/pkg/data2.bin "$SCRATCH/cp-out/"
  # The setup flushes each file it writes; so does the baseline.
  sync "$SCRATCH"/cp-out/*
  t1=$(now)
  cp_times+=("$(echo "$t1 - $t0" | bc -l)")
  for f in app.msi app.cab data1.bin data2.bin; do
    cmp -s "$SCRATCH/pkg/$f" "$SCRATCH/cp-out/$f" || fail "$f differs after cp"
  done
done
s=$(best "${setup_times[@]}")
c=$(best "${cp_times[@]}")
printf 'setup /extract: %.2f s, cp %.2f s (512 MiB, best of 3)\n' "$s" "$c"
printf 'extract/cp ratio: %.2f\n' "$(echo "$s / $c" | bc -l)"
