#!/usr/bin/env bash
# Takes the screenshots of every window of a setup in German, Japanese and Arabic, at 96 and 144
# dots per inch, each under a UI language of its own, into docs/languages/<language>-<window>-
# <dpi>.png: the extraction window, both wizard pages (before and after the prerequisites are
# handled), the download window and the launch window. Needs both presets built, and the Noto
# fonts (scripts/install-deps.sh) for the Japanese and Arabic glyphs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export TESSARA_ROOT=$root TESSARA_TEST_ROOT=$root/build/screenshots
. "$root/tests/support/setup-e2e.sh"
. "$root/tests/support/http-server.sh"
. "$root/tests/support/wizard-scenario.sh"
tess_scratch languages
tess_display || fail "no X display"
need_tools wixl import convert
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
make_wizard_setup
make_extraction_setup
out=$root/docs/languages
mkdir -p "$out"
for language in de-DE ja-JP ar-SA; do
  locale=$(locale_of "$root/languages/$language.lang")
  for dpi in 96 144; do
    tess_new_prefix "$SCRATCH/prefix-$language-$dpi"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    export LC_ALL=$locale
    WIZARD_SHOTS=1 work_wizard "$dpi" "$SCRATCH/steps-$language-$dpi.log"
    WIZARD_SHOTS=1 work_extraction "$dpi" "$SCRATCH/big-$language-$dpi.log"
    unset LC_ALL
    for window in extracting information prerequisites downloading launching installed; do
      convert "$SCRATCH/shots/$window-$dpi.png" +dither -colors 64 \
        "PNG8:$out/$language-$window-$dpi.png"
    done
    echo "$language at $dpi dpi: $(ls "$out"/$language-*-$dpi.png | wc -l) windows"
  done
done
