#!/usr/bin/env bash
# The stub's PE header as the loader reads it: a GUI program that every supported Windows
# starts (operating-system and subsystem version 4.0 for the 32-bit stub that ships; 5.2, the
# first x86-64 Windows, for the x86-64 test build), with ASLR (dynamic base and relocations kept)
# and NX; and the stub that ships within its budget of 64 KB (tests/bench/stub_size.sh says
# where the bytes go).
. "$(dirname "$0")/../support/setup-e2e.sh"
need_tools i686-w64-mingw32-objdump

check_stub() { # stub subsystem-major subsystem-minor
  local stub=$1 headers
  [ -f "$stub" ] || fail "no stub at $stub: build its preset first"
  headers=$(i686-w64-mingw32-objdump -p "$stub" 2>/dev/null || x86_64-w64-mingw32-objdump -p "$stub") ||
    fail "objdump cannot read $stub"
  field() { awk -v f="$1" '$1 == f { print $2 }' <<<"$headers"; }
  [ "$(field Subsystem)" = 00000002 ] || fail "$stub: not a Windows GUI program"
  [ "$(field MajorOSystemVersion)" = 4 ] && [ "$(field MinorOSystemVersion)" = 0 ] ||
    fail "$stub: operating-system version $(field MajorOSystemVersion).$(field MinorOSystemVersion), not 4.0"
  [ "$(field MajorSubsystemVersion)" = "$2" ] && [ "$(field MinorSubsystemVersion)" = "$3" ] ||
    fail "$stub: subsystem version $(field MajorSubsystemVersion).$(field MinorSubsystemVersion), not $2.$3"
  grep -q DYNAMIC_BASE <<<"$headers" || fail "$stub: no dynamic base"
  grep -q NX_COMPAT <<<"$headers" || fail "$stub: not NX-compatible"
  grep -q "relocations stripped" <<<"$headers" && fail "$stub: relocations stripped"
  grep -Eq "^Entry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation Directory" <<<"$headers" ||
    fail "$stub: no base relocations"
  pass "$stub: GUI, OS 4.0, subsystem $2.$3, dynamic base with relocations, NX"
}

check_stub "$TESSARA_ROOT/build/windows/app/tessara-stub.exe" 4 0
size=$(stat -c %s "$TESSARA_ROOT/build/windows/app/tessara-stub.exe")
[ "$size" -le 66048 ] || fail "the stub is $size bytes, above its budget of 66048"
pass "the stub that ships is $size bytes, within 66048"
if [ "$TESS_WIN_BITS" = 64 ]; then
  check_stub "$STUB" 5 2
fi
