#!/usr/bin/env bash
# Installs a build under a scratch root with prefix /usr, and checks that tree as CI checks
# the installed package, with a sample archive for the thumbnailer from the build's roster
# maker:  check_install_tree.sh <build folder> <application id>
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$1" --prefix "$root/usr" >/dev/null
"$1/bench/cpe_make_roster" "$root/sample" 1 >/dev/null
"$(dirname "$0")/../../scripts/check-desktop-files.sh" "$root" /usr "$2" "$root/sample/p000000.big"
