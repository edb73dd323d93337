#!/usr/bin/env bash
# Fails when a C++ file of the repository (committed or new, not ignored) differs from what
# clang-format makes of it with .clang-format. Fix with: clang-format -i <file>
set -euo pipefail
cd "$(dirname "$0")/.."
CPE_EXTRA_PACKAGES="clang-format ${CPE_EXTRA_PACKAGES:-}" scripts/setup.sh
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files formatted"
