#!/usr/bin/env bash
# Times the editor's start-up (from starting the process) to its main window's first paint, without and with
# an archive to open, beside an empty Qt window, as whole processes run in turn
# (default 30 rounds), and prints each one's median and 95th percentile and the
# ratios of the medians. Needs a display (run it under xvfb-run otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-30}
build_dir=${CPE_BUILD_DIR:-build}
program=$build_dir/bench/cpe_first_paint
archive=$(mktemp -d)
trap 'rm -rf "$archive"' EXIT
"$build_dir/bench/cpe_make_roster" "$archive" 1 >/dev/null
sample=$(ls "$archive"/*.big)
declare -A times
for ((i = 0; i < rounds; i++)); do
  for run in bare window archive; do
    case $run in
      bare) args=(--bare) ;;
      window) args=() ;;
      archive) args=("$sample") ;;
    esac
    start=$(date +%s%N)
    painted=$("$program" "${args[@]}" 2>/dev/null)
    times[$run]+="$(( (painted - start) / 1000 )) "
  done
done
stats() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; p=a[int(NR*0.95+0.5)]; printf "%.1f %.1f\n", m/1000, p/1000}'; }
read -r bare_median bare_p95 < <(echo "${times[bare]}" | stats)
echo "bare Qt window:       median ${bare_median} ms, 95th percentile ${bare_p95} ms"
for run in window archive; do
  read -r median p95 < <(echo "${times[$run]}" | stats)
  label=$([ "$run" = window ] && echo "editor:              " || echo "editor with archive: ")
  echo "$label median ${median} ms, 95th percentile ${p95} ms, $(awk -v a="$median" -v b="$bare_median" 'BEGIN {printf "%.2fx", a/b}') the bare window's"
done
