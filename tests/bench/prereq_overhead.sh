#!/usr/bin/env bash
# The bootstrapper's own overhead: a quiet setup with two prerequisites (each a Windows
# Installer package in a setup of its own, carried in the main setup) against the same three
# installations run directly by a script (msiexec /i ... /qn, one after the other), each in a
# fresh copy of one prefix, in the same run. Median of 3 each; the ratio is printed last.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch bench_prereq_overhead
need_tools wixl wine bc
tess_display || fail "no X display"
build_sample_msi
build_runtime_msi
# A second prerequisite: the runtime package under another name, code and key.
mkdir -p "$SCRATCH/runtime2"
sed -e 's/Tessara Runtime/Tessara Helper/g' -e 's/3A0C5E1D-7F42-4B8A-A1D3-5C6E7F809A12/4B1D6F2E-8053-4C9B-B2E4-6D7F8091AB23/' \
  -e 's/8C1D2E3F-4A5B-4C6D-8E7F-9A0B1C2D3E4F/9D2E3F40-5B6C-4D7E-9F80-A1B2C3D4E5F6/' -e 's/runtime\./helper./g' \
  "$SCRATCH/runtime/runtime.wxs" >"$SCRATCH/runtime2/helper.wxs"
cp "$SCRATCH/runtime/runtime.txt" "$SCRATCH/runtime2/helper.txt"
(cd "$SCRATCH/runtime2" && wixl -o helper.msi helper.wxs) || fail "wixl could not build the helper package"
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime/runtime.msi" -o "$SCRATCH/runtime-setup.exe" >/dev/null
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/runtime2/helper.msi" -o "$SCRATCH/helper-setup.exe" >/dev/null
cat >"$SCRATCH/sample.ini" <<'INI'
[PREREQUISITES]
App1=Tessara Runtime
App2=Tessara Helper

[App1]
SetupFile=runtime-setup.exe
CommandLine=/qn
SearchType=2
SearchString=HKLM\Software\Tessara Runtime\Version

[App2]
SetupFile=helper-setup.exe
CommandLine=/qn
SearchType=2
SearchString=HKLM\Software\Tessara Helper\Version

[GeneralOptions]
MainAppCmdLine=/qn
Options=q
INI
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/sample.msi" --config "$SCRATCH/sample.ini" \
  --prereq "$SCRATCH/runtime-setup.exe" --prereq "$SCRATCH/helper-setup.exe" \
  -o "$SCRATCH/setup.exe" >/dev/null || fail "packing failed"

now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }
fresh() { # a fresh prefix holding the inputs, its Wine session already up
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  tess_new_prefix "$SCRATCH/prefix"
  cp "$SCRATCH/setup.exe" "$SCRATCH/runtime/runtime.msi" "$SCRATCH/runtime2/helper.msi" \
    "$SCRATCH/pkg/sample.msi" "$(drive_c)/"
  # Without a window manager (Xvfb) Wine waits 2 s for every window hidden or destroyed to be
  # withdrawn by one that never answers; unmanaged windows are what a desktop's prompt
  # answer looks like.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -p 600
  wine cmd /c exit >/dev/null 2>&1
}
installed_all() {
  [ -f "$(drive_c)/Program Files/Tessara Runtime/runtime.txt" ] &&
    [ -f "$(drive_c)/Program Files/Tessara Helper/helper.txt" ] &&
    [ -f "$(drive_c)/Program Files/Tessara Sample/readme.txt" ]
}
trap 'wineserver -k 2>/dev/null' EXIT
setup_times=()
direct_times=()
for _ in 1 2 3; do
  fresh
  t0=$(now)
  # The setup returns once the package's installer has ended (the server stays up on purpose:
  # a user's session has one).
  timeout 300 wine 'C:\setup.exe' >/dev/null 2>&1
  t1=$(now)
  installed_all || fail "the setup did not install all three packages"
  setup_times+=("$(echo "$t1 - $t0" | bc -l)")

  fresh
  t0=$(now)
  for msi in runtime helper sample; do
    timeout 300 wine msiexec /i "C:\\$msi.msi" /qn >/dev/null 2>&1
  done
  t1=$(now)
  installed_all || fail "the script did not install all three packages"
  direct_times+=("$(echo "$t1 - $t0" | bc -l)")
done
echo "setup with two prerequisites (s): ${setup_times[*]}"
echo "three msiexec runs by script (s): ${direct_times[*]}"
ms=$(median "${setup_times[@]}")
md=$(median "${direct_times[@]}")
echo "ratio setup / direct: $(echo "scale=2; $ms / $md" | bc -l)"
