#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds both presets, packs
# the sample package into a setup and runs that setup under Wine, then shows what it installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh
cmake --preset native >/dev/null && cmake --build --preset native
cmake --preset windows >/dev/null && cmake --build --preset windows

export TESSARA_ROOT=$root TESSARA_TEST_ROOT=$root/build/demo
. tests/support/setup-e2e.sh
tess_scratch demo
tess_display
build_sample_msi
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --product-name "Tessara Sample" \
  -o "$root/build/setup.exe"
"$PACK" list "$root/build/setup.exe"

tess_new_prefix "$SCRATCH/prefix"
cp "$root/build/setup.exe" "$(drive_c)/setup.exe"
echo "running setup.exe under Wine (prefix $WINEPREFIX)"
run_wine 'C:\setup.exe' /qn /l*v 'C:\setup.log'
echo "setup.exe exited with $?"
echo "installed files:"
ls -l "$(drive_c)/Program Files/Tessara Sample/"
wine reg query 'HKLM\Software\Tessara Sample' 2>/dev/null | tr -d '\r'
echo "the setup is at build/setup.exe"
