#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every library: each source file of fileio/, archive/, fsh/,
# portrait/, ui/ and cli/, and the headers of those and common/ they include. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
CPE_EXTRA_PACKAGES="clang-tidy ${CPE_EXTRA_PACKAGES:-}" scripts/setup.sh
build_dir=${CPE_BUILD_DIR:-build}
# The compile database, and the generated files the sources include.
scripts/build.sh >/dev/null
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- 'fileio/*.cpp' 'archive/*.cpp' 'fsh/*.cpp' 'portrait/*.cpp' 'ui/*.cpp' 'cli/*.cpp')
echo "clang-tidy: ${#sources[@]} files in $(printf '%s\n' "${sources[@]}" | cut -d/ -f1 | sort -u | xargs)"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$build_dir" --quiet >"$log" 2>&1 || status=$?
grep -v '^[0-9]* warnings\? generated\.$' "$log" || true
[ "$status" -eq 0 ] && echo "clang-tidy: no findings" || echo "FAILED: clang-tidy has findings"
exit "$status"
