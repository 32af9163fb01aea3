#!/usr/bin/env bash
# A setup run from a folder that holds decoy DLLs named after the DLLs it uses loads none of
# them, while a program that imports or loads them the usual way does.
. "$(dirname "$0")/../support/setup-e2e.sh"
tess_scratch setup_dll_planting
need_tools wine i686-w64-mingw32-objdump
tess_display || fail "no X display"

# Statically the stub imports only DLLs that cannot be planted (the comctl32 it binds comes
# from the manifest's side-by-side assembly).
imports=$(i686-w64-mingw32-objdump -p "$STUB" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
for dll in $imports; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | comctl32.dll | msvcrt.dll) ;;
    *) fail "the stub imports $dll statically" ;;
  esac
done
pass "static imports: $imports"

mkdir -p "$SCRATCH/pkg"
fake_msi "$SCRATCH/pkg/app.msi" 5000
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" -o "$SCRATCH/setup.exe" || fail "packing failed"
tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
downloads="$(drive_c)/Downloads"
mkdir -p "$downloads" "$(drive_c)/out"
cp "$TESSARA_WIN_BUILD"/tests/decoys/*.dll "$downloads/"
cp "$SCRATCH/setup.exe" "$TESSARA_WIN_BUILD/tests/decoy_control.exe" "$downloads/"
planted() { ls "$(drive_c)"/planted-*.txt 2>/dev/null; }

# Wine prefers its own DLLs; these overrides make it take a planted one first, as Windows
# would for a DLL that is not protected. version.dll is left out: Wine's own user32 imports
# it, so under that override every GUI program loads a planted version.dll before its first
# instruction (Windows' user32 does not, and a known DLL's imports never come from the
# program's folder). The setup's own use of version.dll is checked below instead.
export WINEDLLOVERRIDES="wininet,riched32=n,b;mscoree,mshtml="
run_line 'cd /d C:\Downloads && C:\Downloads\setup.exe /qn'
[ -n "$(launch_record)" ] || fail "the setup did not reach the package"
[ -z "$(planted)" ] || fail "the setup loaded a planted DLL: $(planted)"
run_line 'cd /d C:\Downloads && C:\Downloads\setup.exe /extract:C:\out'
[ -z "$(planted)" ] || fail "extract-only loaded a planted DLL: $(planted)"
pass "neither a normal run nor extract-only loaded the decoys beside the setup"

for name in riched32 wininet; do
  run_line "cd /d C:\\Downloads && C:\\Downloads\\decoy_control.exe $name"
  [ -f "$(drive_c)/planted-$name.txt" ] || fail "a bare LoadLibrary of $name did not load the decoy: the test proves nothing"
done
export WINEDLLOVERRIDES="version=n,b;mscoree,mshtml="
run_line 'cd /d C:\Downloads && C:\Downloads\decoy_control.exe version'
[ -f "$(drive_c)/planted-version.txt" ] || fail "a static import of version.dll did not load the decoy"
pass "the decoys are loaded by programs that load them the usual way"
