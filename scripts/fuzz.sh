#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each on its seed corpus for
# the given number of seconds (default 60). A finding stops with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CPE_EXTRA_PACKAGES="clang libclang-rt-14-dev" scripts/setup.sh
build_dir=${CPE_FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCPE_FUZZ=ON -DCPE_SANITIZE=ON -DCPE_TESTS=OFF
cmake --build "$build_dir" -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
total=0
for target in "$build_dir"/fuzz/fuzz_*; do
  # Regular executables only: the build also leaves fuzz_*_autogen folders here.
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=fuzz/corpus/${name#fuzz_}
  [ -d "$seeds" ] || { echo "FAILED: $name has no seed corpus in $seeds"; exit 1; }
  mkdir -p "$work/$name"
  echo "== $name: ${seconds}s on $seeds"
  "$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$work/$name-" "$work/$name" "$seeds" 2>"$work/$name.log" || {
      tail -n 40 "$work/$name.log"
      echo "FAILED: $name found a problem"
      exit 1
    }
  runs=$(grep -o 'Done [0-9]* runs' "$work/$name.log" | grep -o '[0-9]*' || echo 0)
  echo "   $runs executions, $(grep -o 'cov: [0-9]*' "$work/$name.log" | tail -n 1)"
  total=$((total + runs))
done
echo "fuzzing: $total executions in all, no findings"
