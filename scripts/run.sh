#!/usr/bin/env bash
# Sets up, builds and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Built ${CPE_BUILD_DIR:-build}/courtside-portraits-editor; no display to show it on (DISPLAY is not set)." >&2
  exit 1
fi
exec "${CPE_BUILD_DIR:-build}/courtside-portraits-editor"
