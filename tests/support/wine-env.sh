# Sourced by the Wine tests: a hermetic 32-bit prefix per test and a private X display.
# Nothing here touches the prefix in the home folder.

TESSARA_ROOT=${TESSARA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
TESSARA_NATIVE_BUILD=${TESSARA_NATIVE_BUILD:-$TESSARA_ROOT/build/native}
TESSARA_TEST_ROOT=${TESSARA_TEST_ROOT:-$TESSARA_ROOT/build/test-run}
export WINEDEBUG=${WINEDEBUG:--all}

# The bitness of the Windows programs under test. The setup is a 32-bit program and is tested
# as one, in a 32-bit prefix. Some virtual machines run 64-bit user code only (the kernel
# refuses to execute a 32-bit program: "Exec format error"), and there Wine cannot start any
# 32-bit Windows program. The Windows unit tests then run the same sources built for x86-64
# (the windows-x64 preset) in a 64-bit prefix, and so do the end-to-end scripts, with setups
# packed on that build's stub and packages built for x64 (tess_wixl). A missing Wine is not such
# a machine: it fails as it always did.
tess_win_bits() {
  if [ -x /usr/lib/wine/wine ]; then
    /usr/lib/wine/wine --version >/dev/null 2>&1
    [ $? -eq 126 ] && [ -x /usr/lib/wine/wine64 ] && { echo 64; return; }
  fi
  echo 32
}
TESS_WIN_BITS=${TESS_WIN_BITS:-$(tess_win_bits)}
export TESS_WIN_BITS
if [ "$TESS_WIN_BITS" = 64 ]; then
  TESSARA_WIN_PRESET=windows-x64
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  # Debian's wine, wine-stable and the wine tools' launcher start the 32-bit loader whenever it
  # is installed; these start the 64-bit one.
  case ":$PATH:" in
    *":$TESSARA_ROOT/tests/support/wine64:"*) ;;
    *) export PATH="$TESSARA_ROOT/tests/support/wine64:$PATH" ;;
  esac
else
  TESSARA_WIN_PRESET=windows
  export WINEARCH=win32
fi
TESSARA_WIN_BUILD=${TESSARA_WIN_BUILD:-$TESSARA_ROOT/build/$TESSARA_WIN_PRESET}
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Starts Xvfb on a display of its own unless one is already set; TESS_XVFB_PID is the server,
# which the caller ends. The server picks a free display number itself and reports it once it
# accepts connections (-displayfd), so runs started at the same moment never share a display.
tess_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local ready n
  ready=$(mktemp "${TMPDIR:-/tmp}/tessara-display-XXXXXX") || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  TESS_XVFB_PID=$!
  for _ in $(seq 300); do
    # The number arrives whole, with its line end, once the server is ready.
    if read -r n <"$ready" && [[ $n =~ ^[0-9]+$ ]]; then
      rm -f "$ready"
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$TESS_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill "$TESS_XVFB_PID" 2>/dev/null
  rm -f "$ready"
  echo "Xvfb did not start" >&2
  return 1
}

# One template prefix per test run, copied for each test (a fresh wineboot takes seconds). The
# marker's name changes with the template's settings, so an older template is made again.
TESS_PREFIX_READY=.ready-nocrashdialog-$WINEARCH
tess_template_prefix() {
  local template="$TESSARA_TEST_ROOT/prefix-template"
  mkdir -p "$TESSARA_TEST_ROOT"
  (
    flock 9
    if [ ! -f "$template/$TESS_PREFIX_READY" ]; then
      rm -rf "$template"
      WINEPREFIX="$template" wineboot -i >/dev/null 2>&1
      # Windows passes the parameters on to msiexec; Wine's default association drops them.
      WINEPREFIX="$template" wine reg add 'HKCR\Msi.Package\shell\Open\command' /ve \
        /d 'C:\windows\system32\msiexec.exe /i "%1" %*' /f >/dev/null 2>&1
      # A crash ends the program at once with the debugger's report on stderr; the crash
      # dialog would hold the run until its time-out.
      WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
        /t REG_DWORD /d 0 /f >/dev/null 2>&1
      WINEPREFIX="$template" wineserver -w
      touch "$template/$TESS_PREFIX_READY"
    fi
  ) 9>"$TESSARA_TEST_ROOT/.prefix-lock"
  echo "$template"
}

# Makes a fresh prefix in $1 from the template and selects it.
# The system folder's programs and libraries, nine tenths of a prefix, are hard links to the
# template's (nothing writes to them; a full copy per test filled the disk); every other file,
# the registry included (Wine rewrites it in place), is a copy of its own.
tess_new_prefix() {
  local template
  template=$(tess_template_prefix) || return 1
  rm -rf "$1"
  # The test runner removes the prefixes of a passing script.
  [ -z "${TESS_PREFIX_RECORD:-}" ] || echo "$1" >>"$TESS_PREFIX_RECORD"
  cp -al "$template" "$1" || return 1
  python3 - "$1" <<'PY' || return 1
import os, shutil, sys
shared = ('.dll', '.exe', '.drv', '.sys', '.ocx', '.cpl', '.acm', '.ax', '.tlb', '.nls', '.ds', '.mui')
systems = tuple(os.path.join(sys.argv[1], 'drive_c', 'windows', name) + os.sep
                for name in ('system32', 'syswow64'))
for folder, _, files in os.walk(sys.argv[1]):
    for name in files:
        path = os.path.join(folder, name)
        if os.path.islink(path) or (path.startswith(systems) and name.lower().endswith(shared)):
            continue
        shutil.copy2(path, path + '.tess-copy')
        os.replace(path + '.tess-copy', path)
PY
  export WINEPREFIX="$1"
}

# A Linux path as Wine's Z: drive (the Linux root) sees it.
winpath() { echo "Z:${1//\//\\}"; }

# The prefix's temporary folder as a Linux path.
tess_temp_dir() {
  echo "$WINEPREFIX/drive_c/users/$(id -un)/Temp"
}

# Runs a command under a time limit (TESS_RUN_LIMIT seconds, 120 by default) and checks its
# exit code: tess_expect_exit CODE COMMAND [ARGS...]. Every run of a setup goes through it.
# A Windows exit code reaches the shell modulo 256 (1603 arrives as 67): CODE is compared
# whole when the command left the whole code in TESS_LAST_EXIT (run_line of setup-e2e.sh
# does), else modulo 256. On a mismatch or a time-out it says so on stderr and returns 1.
tess_expect_exit() {
  local expected=$1
  shift
  local status
  TESS_LAST_EXIT=
  if declare -F "$1" >/dev/null; then
    "$@" # one of the run_* helpers of setup-e2e.sh, which bring the same time limit
  else
    timeout -k 10 "${TESS_RUN_LIMIT:-120}" "$@"
  fi
  status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "timed out after ${TESS_RUN_LIMIT:-120} s: $*" >&2
    return 1
  fi
  if [ -n "$TESS_LAST_EXIT" ]; then
    [ "$TESS_LAST_EXIT" = "$expected" ] && return 0
    echo "exit code $TESS_LAST_EXIT, expected $expected: $*" >&2
    return 1
  fi
  if [ "$status" -ne $((expected & 255)) ]; then
    echo "exit code $status, expected $expected ($((expected & 255)) as the shell sees it): $*" >&2
    return 1
  fi
  return 0
}

# Builds a package with wixl: tess_wixl OUT.msi SOURCE.wxs, in the folder of both. In a 64-bit
# prefix the package is built for x64, its components and its folder under the 64-bit Program
# Files, so that it installs where a 32-bit setup's package installs in a 32-bit prefix.
tess_wixl() {
  if [ "$WINEARCH" = win64 ]; then
    sed -e 's/"ProgramFilesFolder"/"ProgramFiles64Folder"/' \
      -e 's/<Component Id=/<Component Win64="yes" Id=/' "$2" >"$2.x64.wxs" &&
      wixl -a x64 -o "$1" "$2.x64.wxs"
  else
    wixl -o "$1" "$2"
  fi
}
