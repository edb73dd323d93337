#!/usr/bin/env bash
# Builds and runs the benchmarks on archives of 64 KiB, 16 MiB and 256 MiB, and
# writes their medians and ratios to a Markdown table (default: bench-results.md).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-bench-results.md}")
scripts/setup.sh
scripts/build.sh -DCMAKE_BUILD_TYPE=Release
build_dir=${CPE_BUILD_DIR:-build}
table=$(mktemp)
trap 'rm -f "$table"' EXIT
CPE_BENCH_MARKDOWN="$table" "$build_dir/bench/cpe_bench"
{
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs),"
  echo "$(free -g | awk '/Mem:/ {print $2}') GiB, Linux $(uname -r), files in $(df -T "${TMPDIR:-/tmp}" | awk 'NR==2 {print $2}') on $(df "${TMPDIR:-/tmp}" | awk 'NR==2 {print $1}')."
  echo
  cat "$table"
} >"$out"
echo "wrote $out"
