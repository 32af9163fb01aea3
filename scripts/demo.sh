#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds both presets, packs
# the sample package with a prerequisite (itself a Windows Installer package in a setup of its
# own) into a setup, runs that setup quietly under Wine, and shows what it installed, in order.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake --preset native >/dev/null && cmake --build --preset native
cmake --preset windows >/dev/null && cmake --build --preset windows

export TESSARA_ROOT=$root TESSARA_TEST_ROOT=$root/build/demo
. tests/support/setup-e2e.sh
set +u
tess_scratch demo
tess_display
build_sample_msi
build_runtime_msi

# The prerequisite's own setup, and the configuration that finds it installed by its
# registry value.
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime/runtime.msi" --product-name "Tessara Runtime" \
  -o "$SCRATCH/runtime-setup.exe"
cat >"$SCRATCH/sample.ini" <<'INI'
[PREREQUISITES]
App1=Tessara Runtime 2

[App1]
SetupFile=runtime-setup.exe
CommandLine=/qn
SearchType=2
SearchString=HKLM\Software\Tessara Runtime\Version
VerMin=2.0

[GeneralOptions]
MainAppCmdLine=/qn
Options=q
INI
"$PACK" check "$SCRATCH/sample.ini"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" --product-name "Tessara Sample" -o "$root/build/setup.exe"
"$PACK" list "$root/build/setup.exe"

tess_new_prefix "$SCRATCH/prefix"
# A small test program stands in for the .msi file association: it notes each package
# Windows Installer is asked for, then hands it on to msiexec, which installs it for real.
record_package_launches
cp "$root/build/setup.exe" "$(drive_c)/setup.exe"
echo "running setup.exe under Wine, quietly (prefix $WINEPREFIX)"
code=$(run_line_code 'C:\setup.exe')
echo "setup.exe exited with $code"
echo "Windows Installer was asked, in this order, for:"
setup_record | sed -n 's/^"\([^"]*\)".*/  \1/p'
for product in "Tessara Runtime" "Tessara Sample"; do
  echo "installed: $product"
  ls -l "$(drive_c)/Program Files/$product/" | sed 's/^/  /'
  wine reg query "HKLM\\Software\\$product" 2>/dev/null | tr -d '\r' | sed -n 's/^ *\(.*REG_SZ.*\)/  \1/p'
done
echo "the setup is at build/setup.exe"
