#!/usr/bin/env bash
# Configures and builds into build/ (or $CPE_BUILD_DIR), passing extra CMake options through.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${CPE_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja "$@"
cmake --build "$build_dir" -j "$(nproc)"
