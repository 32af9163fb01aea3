#!/usr/bin/env bash
# Runs a Windows test program under Wine in the build tree's own prefix (the CMake emulator).
set -u
. "$(dirname "$0")/wine-env.sh"
tess_display || exit 1
trap '[ -n "${TESS_XVFB_PID:-}" ] && kill "$TESS_XVFB_PID" 2>/dev/null' EXIT
if [ -z "${TESSARA_UNIT_PREFIX:-}" ]; then
  TESSARA_UNIT_PREFIX="$TESSARA_TEST_ROOT/unit-prefix"
  [ -f "$TESSARA_UNIT_PREFIX/$TESS_PREFIX_READY" ] || tess_new_prefix "$TESSARA_UNIT_PREFIX" || exit 1
fi
export WINEPREFIX="$TESSARA_UNIT_PREFIX"
wine "$@"
status=$?
wineserver -w
exit $status
