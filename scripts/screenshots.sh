#!/usr/bin/env bash
# Saves screenshots of the main window beside the portrait window (a DXT and an
# 8-bit portrait) and of the "Import picture" dialog, as it opens and with its
# crop moved and zoomed by hand, to a folder (default:
# screenshots/), from the X11 tests run under Xvfb with a window manager, so
# that the windows wear their frames.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-screenshots}")
CPE_EXTRA_PACKAGES="openbox ${CPE_EXTRA_PACKAGES:-}" scripts/setup.sh
scripts/build.sh
build_dir=${CPE_BUILD_DIR:-build}
mkdir -p "$out"
CPE_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  status=0
  "$0" --gtest_filter="PortraitWindowOnX11.*:ImportPictureDialogOnX11.*:RosterWindowOnX11.*" || status=$?
  kill "$wm"
  exit "$status"' "$build_dir/tests/cpe_x11_tests"
ls "$out"
