#!/usr/bin/env bash
# Sets up, builds and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec "${CPE_BUILD_DIR:-build}/courtside-portraits-editor"
