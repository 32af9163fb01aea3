# Sourced by tests that pack stand-in files: the packer reads the first bytes of each input, so
# a stand-in starts as the real kind does and is filled with bytes from a source after that.
#   fake_msi FILE BYTES [SOURCE]      compound-file signature (a Windows Installer package)
#   fake_cab FILE BYTES [SOURCE]      "MSCF" (a cabinet)
#   fake_program FILE BYTES [SOURCE]  an MZ header pointing at "PE\0\0" (a Windows program)
# SOURCE defaults to /dev/urandom.

_fake_input() { # head-printf-format file bytes head-length source
  printf "$1" >"$2"
  head -c $(($3 - $4)) "${5:-/dev/urandom}" >>"$2"
}
fake_msi() { _fake_input '\320\317\021\340\241\261\032\341' "$1" "$2" 8 "${3:-}"; }
fake_cab() { _fake_input 'MSCF' "$1" "$2" 4 "${3:-}"; }
fake_program() {
  printf 'MZ' >"$1"
  head -c 58 /dev/zero >>"$1"
  printf '\100\000\000\000PE\000\000' >>"$1"
  head -c $(($2 - 68)) "${3:-/dev/urandom}" >>"$1"
}
