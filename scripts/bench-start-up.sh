#!/usr/bin/env bash
# Times the editor's start-up (from starting the process) to its main window's first paint, without and with
# an archive to open, beside an empty Qt window, as whole processes run in turn
# (default 30 rounds), and prints each one's median and 95th percentile and the
# ratios of the medians. Needs a display (run it under xvfb-run otherwise).
# With CPE_BEFORE_BUILD_DIR set to another build's folder, that build's program
# runs in the same rounds, so that a change is measured side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-30}
build_dir=${CPE_BUILD_DIR:-build}
builds=("$build_dir")
[ -n "${CPE_BEFORE_BUILD_DIR:-}" ] && builds=("$CPE_BEFORE_BUILD_DIR" "$build_dir")
# Without a session bus Qt tries to start one for every process, which a
# desktop never does; the time it takes would only blur the figures.
export DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent}
archive=$(mktemp -d)
trap 'rm -rf "$archive"' EXIT
"$build_dir/bench/cpe_make_roster" "$archive" 1 >/dev/null
sample=$(ls "$archive"/*.big)
declare -A times
for ((i = 0; i < rounds; i++)); do
  for build in "${builds[@]}"; do
    for run in bare window archive; do
      case $run in
        bare) args=(--bare) ;;
        window) args=() ;;
        archive) args=("$sample") ;;
      esac
      start=$(date +%s%N)
      painted=$("$build/bench/cpe_first_paint" "${args[@]}" 2>/dev/null)
      times[$build/$run]+="$(( (painted - start) / 1000 )) "
    done
  done
done
stats() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; p=a[int(NR*0.95+0.5)]; printf "%.1f %.1f\n", m/1000, p/1000}'; }
for build in "${builds[@]}"; do
  [ ${#builds[@]} -gt 1 ] && echo "== $build"
  read -r bare_median bare_p95 < <(echo "${times[$build/bare]}" | stats)
  echo "bare Qt window:       median ${bare_median} ms, 95th percentile ${bare_p95} ms"
  for run in window archive; do
    read -r median p95 < <(echo "${times[$build/$run]}" | stats)
    label=$([ "$run" = window ] && echo "editor:              " || echo "editor with archive: ")
    echo "$label median ${median} ms, 95th percentile ${p95} ms, $(awk -v a="$median" -v b="$bare_median" 'BEGIN {printf "%.2fx", a/b}') the bare window's"
  done
done
