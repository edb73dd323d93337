#!/usr/bin/env bash
# Installs a build under a scratch root with prefix /usr, and checks that tree as CI checks
# the installed package:  check_install_tree.sh <build folder> <application id>
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$1" --prefix "$root/usr" >/dev/null
"$(dirname "$0")/../../scripts/check-desktop-files.sh" "$root" /usr "$2"
