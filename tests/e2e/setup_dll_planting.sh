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
"$PACK" pack --stub "$STUB" --msi "$SCRATCH/pkg/app.msi" --product-name "Acme Widget" \
  -o "$SCRATCH/setup.exe" || fail "packing failed"
tess_new_prefix "$SCRATCH/prefix"
use_launch_recorder
downloads="$(drive_c)/Downloads"
mkdir -p "$downloads" "$(drive_c)/out"
cp "$TESSARA_WIN_BUILD"/tests/decoys/*.dll "$downloads/"
cp "$SCRATCH/setup.exe" "$TESSARA_WIN_BUILD/tests/decoy_control.exe" \
  "$TESSARA_WIN_BUILD/tests/download_run.exe" "$downloads/"
# Which decoys were loaded (planted-<dll>.txt) and whose functions were called (called-<dll>.txt).
markers() { (cd "$(drive_c)" && ls planted-*.txt called-*.txt 2>/dev/null | tr '\n' ' '); }
forget_markers() { rm -f "$(drive_c)"/planted-*.txt "$(drive_c)"/called-*.txt; }

# Wine prefers its own DLLs; these overrides make it take a planted one first, as Windows
# would for a DLL that is not protected. Wine's own user32 and comctl32 import version.dll, so
# under this override every program loads the planted version.dll (Windows' user32 does not,
# and a known DLL's imports never come from the program's folder): for version.dll the test
# looks at calls of its functions instead, which only the program's own code makes. The setup
# calls them for its product name.
export WINEDLLOVERRIDES="version,wininet,riched32=n,b;mscoree,mshtml="
forget_markers
tess_expect_exit 0 run_line 'cd /d C:\Downloads && C:\Downloads\setup.exe /qn' || fail "setup run"
[ -n "$(launch_record)" ] || fail "the setup did not reach the package"
case " $(markers)" in
  *" planted-riched32.txt"* | *" planted-wininet.txt"* | *" called-version.txt"*)
    fail "the setup used a planted DLL: $(markers)" ;;
esac
tess_expect_exit 0 run_line 'cd /d C:\Downloads && C:\Downloads\setup.exe /extract:C:\out' ||
  fail "extract-only run"
cmp -s "$SCRATCH/pkg/app.msi" "$(drive_c)/out/app.msi" || fail "extract-only did not extract"
case " $(markers)" in
  *" planted-riched32.txt"* | *" planted-wininet.txt"* | *" called-version.txt"*)
    fail "extract-only used a planted DLL: $(markers)" ;;
esac
pass "neither a normal run nor extract-only used the decoys beside the setup ($(markers))"

# The download engine loads wininet.dll: a real download from the folder of decoys.
. "$TESSARA_ROOT/tests/support/http-server.sh"
mkdir -p "$SCRATCH/srv" "$downloads/fetched"
head -c 70000 /dev/urandom >"$SCRATCH/srv/prereq.exe"
tess_start_http_server "$SCRATCH/srv" "$SCRATCH" 300 || fail "no HTTP server"
trap 'kill "$server_pid" 2>/dev/null' EXIT
forget_markers
tess_expect_exit 0 run_line "cd /d C:\Downloads && C:\Downloads\download_run.exe silent C:\Downloads\fetched $base/files/prereq.exe 70000 -" ||
  fail "download run"
case " $(markers)" in
  *" planted-wininet.txt"*) fail "the download engine loaded the planted wininet.dll" ;;
esac
cmp -s "$SCRATCH/srv/prereq.exe" "$downloads/fetched/prereq.exe" || fail "the download engine fetched nothing"
pass "the download engine fetched through the system's wininet.dll, not the decoy beside it"

# Controls: the decoys are loaded, and called, by programs that load them the usual way.
for name in riched32 wininet; do
  forget_markers
  tess_expect_exit 0 run_line "cd /d C:\\Downloads && C:\\Downloads\\decoy_control.exe $name" ||
    fail "control run ($name)"
  [ -f "$(drive_c)/planted-$name.txt" ] || fail "a bare LoadLibrary of $name did not load the decoy: the test proves nothing"
done
forget_markers
tess_expect_exit 0 run_line 'cd /d C:\Downloads && C:\Downloads\decoy_control.exe version' ||
  fail "control run (version)"
[ -f "$(drive_c)/called-version.txt" ] || fail "a static import of version.dll did not call the decoy"
pass "the decoys are loaded and called by programs that use them the usual way"
