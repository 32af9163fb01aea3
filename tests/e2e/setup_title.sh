#!/usr/bin/env bash
# The extraction window as the user sees it: titled with the product name the vendor gave the
# packer, or with the setup's full path when the version block has none.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_title
need_tools wine python3
tess_display || fail "no X display"
mkdir -p "$SCRATCH/pkg"
# Large enough that the extraction window stays up while the driver looks at it.
fake_msi "$SCRATCH/pkg/app.msi" 400000000 /dev/zero
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --product-name "Acme Widget" \
  -o "$SCRATCH/named.exe" || fail "packing failed"
cp "$SCRATCH/named.exe" "$SCRATCH/nameless.exe"
python3 "$TESSARA_ROOT/tests/support/patch_setup.py" blank-product-name "$SCRATCH/nameless.exe"
tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
cp "$DRIVER" "$(drive_c)/window_driver.exe"

status_window_of() { # setup file; prints the driver's report of the window it shows
  cp "$SCRATCH/$1" "$(drive_c)/$1"
  TESS_RUN_LIMIT=300 tess_expect_exit 0 wine "C:\\$1" >/dev/null &
  local pid=$!
  timeout 120 wine 'C:\window_driver.exe' dialog 60 | tr -d '\r'
  wait $pid
  local status=$?
  wineserver -w
  return $status
}

report=$(status_window_of named.exe) || fail "named setup run"
echo "$report" | grep -qxF "title: Acme Widget Setup" || fail "named setup: $report"
echo "$report" | grep -qF "Extracting the main application files..." || fail "named setup text: $report"
pass "the window reads \"Acme Widget Setup\" / \"Extracting the main application files...\""

report=$(status_window_of nameless.exe) || fail "nameless setup run"
echo "$report" | grep -qxF 'title: C:\nameless.exe Setup' || fail "nameless setup: $report"
pass "without a product name the title is the setup's full path followed by \" Setup\""
[ "$(launch_record | wc -l)" = 2 ] || fail "the package was not launched after each extraction"
[ -z "$(temp_leftovers)" ] || fail "files left in the temporary folder"
