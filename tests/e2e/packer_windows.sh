#!/usr/bin/env bash
# tessara-pack.exe under Wine writes the same bytes as the host's tessara-pack for the same
# inputs (with paths in either separator), lists and extracts alike, and refuses with a
# non-zero exit code just as the host build does; both print the project's version.
set -u
. "$(dirname "$0")/../support/wine-env.sh"
. "$(dirname "$0")/../support/inputs.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

for tool in wine wineserver cmp python3 convert; do
  command -v "$tool" >/dev/null || fail "missing tool: $tool"
done
NATIVE="$TESSARA_NATIVE_BUILD/packer/tessara-pack"
WINPACK="$TESSARA_WIN_BUILD/packer/tessara-pack.exe"
STUB="$TESSARA_WIN_BUILD/app/tessara-stub.exe"
for f in "$NATIVE" "$WINPACK" "$STUB"; do
  [ -f "$f" ] || fail "not built: $f"
done

SCRATCH="$TESSARA_TEST_ROOT/packer_windows"
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH/in/redist" "$SCRATCH/out"
tess_new_prefix "$SCRATCH/prefix" || fail "no Wine prefix"
trap 'wineserver -k >/dev/null 2>&1' EXIT

fake_msi "$SCRATCH/in/Product.msi" 150000
fake_cab "$SCRATCH/in/data1.cab" 70001
head -c 1234 /dev/urandom >"$SCRATCH/in/readme.txt"
fake_program "$SCRATCH/in/redist/runtime-setup.exe" 40000
convert -size 32x32 xc:'#2060a0' "$SCRATCH/in/vendor.ico" || fail "convert could not make an icon"
cat >"$SCRATCH/in/any-name.cfg" <<'INI'
[PREREQUISITES]
App1=Runtime Library
[App1]
SetupFile=runtime-setup.exe
SearchType=1
SearchString=HKLM\SOFTWARE\Example Vendor\Runtime Library
VerMin=1.4
VerMax=1.5
INI

# Windows paths for the same files: Z: is the Linux root; backslashes and slashes mixed.
in_win=$(winpath "$SCRATCH/in")

wine_pack() { # runs tessara-pack.exe; stdout and stderr go to files, returns its exit code
  timeout -k 10 120 wine "$WINPACK" "$@" >"$SCRATCH/wine.out" 2>"$SCRATCH/wine.err"
  local status=$?
  wineserver -w
  return $status
}

"$NATIVE" pack --stub "$STUB" --msi "$SCRATCH/in/Product.msi" --cab "$SCRATCH/in/data1.cab" \
  --file "$SCRATCH/in/readme.txt" --config "$SCRATCH/in/any-name.cfg" \
  --prereq "$SCRATCH/in/redist/runtime-setup.exe" --product-name "Contoso Suite" \
  --icon "$SCRATCH/in/vendor.ico" --company "Contoso Ltd." --file-version 2.1 \
  --language "$TESSARA_ROOT/languages/ja-JP.lang" --language "$TESSARA_ROOT/languages/ar-SA.lang" \
  -o "$SCRATCH/out/native.exe" >/dev/null || fail "the host packer failed"

wine_pack pack --stub "$(winpath "$STUB")" --msi "$in_win\\Product.msi" \
  --cab "Z:$SCRATCH/in/data1.cab" --file "$in_win/readme.txt" --config "$in_win\\any-name.cfg" \
  --prereq "$in_win\\redist/runtime-setup.exe" --product-name "Contoso Suite" \
  --icon "$in_win/vendor.ico" --company "Contoso Ltd." --file-version 2.1 \
  --language "$(winpath "$TESSARA_ROOT/languages/ja-JP.lang")" \
  --language "$(winpath "$TESSARA_ROOT/languages/ar-SA.lang")" \
  -o "$(winpath "$SCRATCH/out/wine.exe")" || fail "tessara-pack.exe failed: $(cat "$SCRATCH/wine.err")"
cmp "$SCRATCH/out/native.exe" "$SCRATCH/out/wine.exe" || fail "the two packers wrote different setups"
pass "tessara-pack.exe under Wine writes the host packer's bytes"
ls "$SCRATCH/out" | grep -q partial && fail "a temporary file was left beside the setup"

# The product name went into the version resource of the program part, UTF-16LE.
python3 - "$SCRATCH/out/wine.exe" <<'PY' || fail "product name not written into the program part"
import struct, sys
setup = open(sys.argv[1], "rb").read()
data_offset = struct.unpack_from("<I", setup, len(setup) - 36 + 16)[0]
assert "Contoso Suite".encode("utf-16-le") + b"\0\0" in setup[:data_offset]
PY
pass "product name written into the stub's version resource"

# list: the same text from both builds (line ends aside), the configuration as Product.ini.
"$NATIVE" list "$SCRATCH/out/native.exe" >"$SCRATCH/native.list" || fail "host list failed"
wine_pack list "$(winpath "$SCRATCH/out/wine.exe")" || fail "list under Wine failed"
tr -d '\r' <"$SCRATCH/wine.out" >"$SCRATCH/wine.list"
cmp -s "$SCRATCH/native.list" "$SCRATCH/wine.list" || {
  diff "$SCRATCH/native.list" "$SCRATCH/wine.list"
  fail "list differs between the builds"
}
grep -q 'flags             2 HasPrerequisites' "$SCRATCH/wine.list" || fail "flags not listed"
grep -q 'Configuration .* Product.ini$' "$SCRATCH/wine.list" || fail "configuration not stored as Product.ini"
pass "list agrees between the builds"

# extract under Wine into a folder that does not exist yet.
wine_pack extract "$(winpath "$SCRATCH/out/wine.exe")" "$(winpath "$SCRATCH/x")" ||
  fail "extract under Wine failed: $(cat "$SCRATCH/wine.err")"
for f in Product.msi data1.cab readme.txt redist/runtime-setup.exe; do
  cmp -s "$SCRATCH/in/$f" "$SCRATCH/x/$(basename "$f")" || fail "$f not extracted byte-identical"
done
cmp -s "$SCRATCH/in/any-name.cfg" "$SCRATCH/x/Product.ini" || fail "configuration not extracted"
pass "extract under Wine gives the input files"

# check reads the setup's configuration without touching the user's temporary folder, where
# a file of the configuration's stored name may be the user's own.
temp=$(tess_temp_dir)
mkdir -p "$temp"
echo "the user's own file" >"$temp/Product.ini"
wine_pack check "$in_win\\any-name.cfg" "$(winpath "$SCRATCH/out/wine.exe")" ||
  fail "check under Wine failed: $(cat "$SCRATCH/wine.err")"
tr -d '\r' <"$SCRATCH/wine.out" | grep -q "^0 error(s)" || fail "check found errors: $(cat "$SCRATCH/wine.out")"
[ "$(cat "$temp/Product.ini" 2>/dev/null)" = "the user's own file" ] ||
  fail "check deleted or changed the user's %TEMP%\\Product.ini"
[ -z "$(ls "$temp" | grep -v -x Product.ini)" ] || fail "check left files in %TEMP%: $(ls "$temp")"
pass "check under Wine leaves %TEMP%\\Product.ini and the temporary folder as they were"

# Refusals exit non-zero under Wine with one "tessara-pack: " line on stderr.
refused() { # expected exit code, text in the message, arguments...
  local code=$1 text=$2
  shift 2
  wine_pack "$@"
  local status=$?
  [ "$status" -eq "$code" ] || fail "exit code $status, not $code, for: $*"
  tr -d '\r' <"$SCRATCH/wine.err" | grep -q "^tessara-pack: .*$text" ||
    fail "no message with '$text' for: $* (got: $(cat "$SCRATCH/wine.err"))"
  ls "$SCRATCH/out" | grep -q -v -e '^native.exe$' -e '^wine.exe$' && fail "output left after: $*"
  return 0
}
refused 2 "already carries an archive" --stub "$(winpath "$SCRATCH/out/wine.exe")" \
  --msi "$in_win\\Product.msi" -o "$(winpath "$SCRATCH/out/again.exe")"
refused 2 "cannot find the input file" --stub "$(winpath "$STUB")" --msi "$in_win\\Missing.msi" \
  -o "$(winpath "$SCRATCH/out/again.exe")"
refused 2 "two entries are named 'data1.cab'" --stub "$(winpath "$STUB")" \
  --msi "$in_win\\Product.msi" --cab "$in_win\\data1.cab" --cab "$in_win/redist\\..\\data1.cab" \
  -o "$(winpath "$SCRATCH/out/again.exe")"
refused 2 "must be named <name>.msi" --stub "$(winpath "$STUB")" --msi "$in_win\\readme.txt" \
  -o "$(winpath "$SCRATCH/out/again.exe")"
refused 2 "room for 63" --stub "$(winpath "$STUB")" --msi "$in_win\\Product.msi" \
  --product-name "$(printf 'n%.0s' $(seq 64))" -o "$(winpath "$SCRATCH/out/again.exe")"
refused 2 "is not a Windows program" --stub "$in_win\\readme.txt" --msi "$in_win\\Product.msi" \
  -o "$(winpath "$SCRATCH/out/again.exe")"
refused 1 "unknown option" --stub "$(winpath "$STUB")" --bogus
pass "refusals exit non-zero under Wine"

# --replace repacks a finished setup from its program part.
wine_pack pack --replace --stub "$(winpath "$SCRATCH/out/wine.exe")" --msi "$in_win\\Product.msi" \
  -o "$(winpath "$SCRATCH/out/replaced.exe")" || fail "--replace failed under Wine"
"$NATIVE" pack --stub "$SCRATCH/out/native.exe" --replace --msi "$SCRATCH/in/Product.msi" \
  -o "$SCRATCH/out/replaced-native.exe" >/dev/null || fail "--replace failed on the host"
cmp -s "$SCRATCH/out/replaced.exe" "$SCRATCH/out/replaced-native.exe" || fail "--replace differs"
pass "--replace agrees between the builds"

wine_pack --help || fail "--help failed under Wine"
grep -q "Exit codes" "$SCRATCH/wine.out" || fail "--help lacks the exit codes"
pass "--help"

# Both packers and the stub carry the project's version; the installed release holds both
# packers, the stub and every page and picture the README links.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$TESSARA_NATIVE_BUILD/CMakeCache.txt")
wine_pack --version || fail "--version failed under Wine"
[ -n "$version" ] && [ "$(tr -d '\r' <"$SCRATCH/wine.out")" = "tessara-pack $version" ] &&
  [ "$("$NATIVE" --version)" = "tessara-pack $version" ] || fail "--version is not tessara-pack $version"
python3 -c 'import sys; v = lambda t: (t + "\0").encode("utf-16-le")
assert v("ProductVersion") + v(sys.argv[2]) in open(sys.argv[1], "rb").read()' "$STUB" "$version" ||
  fail "the stub's ProductVersion is not $version"
cmake --install "$TESSARA_NATIVE_BUILD" --prefix "$SCRATCH/release" >/dev/null || fail "install failed"
docs=$(grep -o '](docs/[^)]*)' "$SCRATCH/release/share/doc/tessara/README.md" | sed 's/^](//; s/)$//')
for f in bin/tessara-pack bin/tessara-pack.exe bin/tessara-stub.exe share/doc/tessara/README.md \
  $(printf 'share/doc/tessara/%s ' $docs); do
  [ -f "$SCRATCH/release/$f" ] || fail "the release lacks $f"
done
pass "--version $version from both packers and the stub; the release installs"
# The language files it ships, each complete as tessara-pack.exe reads it.
languages=("$SCRATCH"/release/share/tessara/languages/*.lang)
[ ${#languages[@]} -ge 6 ] || fail "the release ships ${#languages[@]} language files"
wine_pack check --language $(for f in "${languages[@]}"; do winpath "$f"; done) ||
  fail "tessara-pack.exe refused a shipped language file: $(cat "$SCRATCH/wine.out")"
[ "$(grep -c '^0 error(s), 0 warning(s)' "$SCRATCH/wine.out")" = ${#languages[@]} ] ||
  fail "a shipped language file is not complete: $(cat "$SCRATCH/wine.out")"
pass "the release ships ${#languages[@]} complete language files"
echo "packer_windows: all checks passed"
