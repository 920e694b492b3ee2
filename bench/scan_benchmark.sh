#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times tilemora-scan against du -sx and ncdu -x on the same generated tree,
# interleaved, warm cache, and reports the medians, their ratios and
# tilemora-scan's peak memory per entry.
#
#   bench/scan_benchmark.sh [FILE_COUNT] [RUNS]
#
# The tree goes to $BENCH_TREE (default /var/tmp/tilemora-bench-<count>) and
# is kept for later runs. Results are appended to bench/results/scan.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-1000000}
runs=${2:-5}
tree=${BENCH_TREE:-/var/tmp/tilemora-bench-$count}

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release >/dev/null
scan=build/release/src/cli/tilemora-scan

source bench/timing.sh
generateTree "$tree" "$count"

# Warm the cache once with each tool.
"$scan" "$tree" >/dev/null; du -sx "$tree" >/dev/null; ncdu -x -o /dev/null "$tree" >/dev/null 2>&1

: >/tmp/tilemora-bench-scan; : >/tmp/tilemora-bench-du; : >/tmp/tilemora-bench-ncdu
for ((i = 0; i < runs; i++)); do
  seconds "$scan" "$tree" >>/tmp/tilemora-bench-scan
  seconds du -sx "$tree" >>/tmp/tilemora-bench-du
  seconds ncdu -x -o /dev/null "$tree" >>/tmp/tilemora-bench-ncdu
done
scanTime=$(median </tmp/tilemora-bench-scan)
duTime=$(median </tmp/tilemora-bench-du)
ncduTime=$(median </tmp/tilemora-bench-ncdu)

entries=$("$scan" "$tree" | awk '/^Entries:/ {print $2}')
peakKiB=$( { /usr/bin/time -v "$scan" "$tree" >/dev/null; } 2>&1 | awk -F': ' '/Maximum resident/ {print $2}')

report=$(cat <<REPORT
$(date -u +%Y-%m-%dT%H:%MZ) $(git rev-parse --short HEAD 2>/dev/null || echo unknown), $count files ($entries entries), $runs interleaved runs, warm cache
  tilemora-scan  median $(printf %.3f "$scanTime") s
  du -sx         median $(printf %.3f "$duTime") s   (tilemora-scan / du = $(printf %.2f "$(echo "$scanTime / $duTime" | bc -l)"))
  ncdu -x        median $(printf %.3f "$ncduTime") s   (tilemora-scan / ncdu = $(printf %.2f "$(echo "$scanTime / $ncduTime" | bc -l)"))
  peak RSS       $peakKiB KiB = $(printf %.1f "$(echo "$peakKiB * 1024 / $entries" | bc -l)") bytes per entry
REPORT
)
echo "$report"
mkdir -p bench/results
echo "$report" >>bench/results/scan.txt
