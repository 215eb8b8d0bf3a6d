#!/usr/bin/env bash
# Runs the display-scale tests (Dpi.*) at 96, 144 and 192 dots per inch:
# sets the prefix's LogPixels before each run, which every new Wine process
# reads, and sets it back to 96 at the end, whatever happened.
#   DpiTest.sh ARCH PATH-TO-kirune_wine_tests.exe
set -uo pipefail

arch=$1 tests_exe=$2
wine_exec=$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-exec

set_dpi() {
    "$wine_exec" "$arch" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
trap 'set_dpi 96' EXIT

status=0
for dpi in 96 144 192; do
    if ! set_dpi "$dpi"; then
        echo "DpiTest: could not set LogPixels to $dpi" >&2
        exit 1
    fi
    echo "--- at $dpi dpi"
    KIRUNE_DPI=$dpi "$wine_exec" "$arch" "$tests_exe" --gtest_filter='Dpi.*' || status=1
done
exit $status
