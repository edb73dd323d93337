#!/usr/bin/env bash
# Builds the Debian package from the build in build/ (or $CPE_BUILD_DIR) and prints its path.
# CPack strips the binaries and asks dpkg-shlibdeps for the libraries they need.
set -euo pipefail
cd "$(dirname "$0")/.."
CPE_EXTRA_PACKAGES="dpkg-dev ${CPE_EXTRA_PACKAGES:-}" scripts/setup.sh >&2
build_dir=${CPE_BUILD_DIR:-build}
scripts/build.sh >&2
out=$(realpath -m "$build_dir/package")
rm -rf "$out"
cpack --config "$build_dir/CPackConfig.cmake" -B "$out" >&2
ls "$out"/*.deb
