#!/usr/bin/env bash
# Runs a GUI test program in a Wine world of its own whose X screen is
# 1280x720 (a 1920x1080 laptop at 150 % shows about that much): its own
# prefix, display and wineserver, removed afterwards.
# Usage: small_screen.sh TEST.exe [arguments]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../scripts/lib/wine-sandbox.sh
source "$here/scripts/lib/wine-sandbox.sh"
work=$(cv_world_folder clearvane-small-screen)
cv_wine_sandbox "$work"
# This world, not the one ctest gave the test, is the one wine-exec uses.
unset CV_WORLDS
CV_XVFB_SCREEN=1280x720x24 cv_xvfb_start
cv_wine_start
rc=0
"$here/scripts/wine-exec" "$@" || rc=$?
cv_wine_stop
cv_xvfb_stop
rm -rf "$work"
exit "$rc"
