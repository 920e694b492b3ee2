#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times tilemora-scan on one and on several threads against the one-thread
# walker tmwalk, du -sx and ncdu -x, on the generated tree, warm cache and
# cold cache, interleaved, and reports the medians and their ratios to the
# walker, and the peak memory per entry of both scans.
#
#   bench/parallel_scan_benchmark.sh [RUNS] [THREADS]
#
# Warm: the tree in /var/tmp/tilemora-bench-1000000 (or $BENCH_TREE), made
# once. Cold: the same tree generated into an ext4 image
# (/var/tmp/tilemora-bench-cold.img, kept), mounted through a loop device
# with direct I/O and mounted afresh before every run, so that neither its
# inodes, its folders nor the image's pages are cached. Needs root and loop
# devices; without them only the warm figures are given. Results are
# appended to bench/results/parallel_scan.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
threads=${2:-2}
count=1000000
tree=${BENCH_TREE:-/var/tmp/tilemora-bench-$count}
image=/var/tmp/tilemora-bench-cold.img
mountPoint=/var/tmp/tilemora-bench-cold

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target tilemora-scan tmwalk tmgentree >/dev/null
scan=$PWD/build/release/src/cli/tilemora-scan
walk=$PWD/build/release/bench/tmwalk

source bench/timing.sh
generateTree "$tree" "$count"

tools=(walk one several default du ncdu)
run() { # run TOOL ROOT
  case $1 in
    walk) "$walk" "$2" ;;
    one) "$scan" --top 0 --threads 1 "$2" ;;
    default) "$scan" --top 0 "$2" ;;
    several) "$scan" --top 0 --threads "$threads" "$2" ;;
    du) du -sx "$2" ;;
    ncdu) ncdu -x -o /dev/null "$2" ;;
  esac
}

# measure LABEL ROOT [PREPARE]: RUNS interleaved rounds of every tool,
# PREPARE run before each; prints one line per tool.
measure() {
  local label=$1 root=$2 prepare=${3:-true} tool
  for tool in "${tools[@]}"; do : >"/tmp/tilemora-bench-$tool"; done
  for ((i = 0; i < runs; i++)); do
    for tool in "${tools[@]}"; do
      $prepare
      seconds run "$tool" "$root" >>"/tmp/tilemora-bench-$tool"
    done
  done
  local walkTime
  walkTime=$(median </tmp/tilemora-bench-walk)
  echo "  $label:"
  for tool in "${tools[@]}"; do
    local time
    time=$(median <"/tmp/tilemora-bench-$tool")
    printf '    %-32s median %6.3f s   (%.2f of the walker)\n' "$(describe "$tool")" "$time" \
      "$(echo "$time / $walkTime" | bc -l)"
  done
}
describe() {
  case $1 in
    walk) echo "tmwalk (one thread)" ;;
    one) echo "tilemora-scan --threads 1" ;;
    default) echo "tilemora-scan (default)" ;;
    several) echo "tilemora-scan --threads $threads" ;;
    du) echo "du -sx" ;;
    ncdu) echo "ncdu -x -o /dev/null" ;;
  esac
}

peak() { { /usr/bin/time -f '%M' "$@" >/dev/null; } 2>&1 | tail -1; }
entries=$("$scan" "$tree" | awk '/^Entries:/ {print $2}')
oneKiB=$(peak "$scan" --top 0 --threads 1 "$tree")
severalKiB=$(peak "$scan" --top 0 --threads "$threads" "$tree")
empty=$(mktemp -d)
emptyKiB=$(peak "$scan" --top 0 --threads "$threads" "$empty")
rmdir "$empty"

for tool in "${tools[@]}"; do run "$tool" "$tree" >/dev/null 2>&1; done  # warm the cache
warm=$(measure "warm cache" "$tree")

detach() { # unmounts the image and frees its loop devices
  umount "$mountPoint" 2>/dev/null || true
  local device
  for device in $(losetup -j "$image" | cut -d: -f1); do losetup -d "$device"; done
}
remount() {
  detach
  mount -o ro "$(losetup --direct-io=on -f --show "$image")" "$mountPoint"
}
cold="  cold cache: not measured (needs root and loop devices)"
if [ "$(id -u)" = 0 ] && losetup -f >/dev/null 2>&1; then
  mkdir -p "$mountPoint"
  if [ ! -e "$image.complete" ]; then
    rm -f "$image"
    truncate -s 32G "$image"
    mkfs.ext4 -q -F -N 1400000 "$image"
    mount "$(losetup --direct-io=on -f --show "$image")" "$mountPoint"
    build/release/bench/tmgentree "$mountPoint/tree" "$count"
    detach
    touch "$image.complete"
  fi
  trap detach EXIT
  cold=$(measure "cold cache (mounted afresh before each run)" "$mountPoint/tree" remount)
fi

report=$(cat <<REPORT
$(date -u +%Y-%m-%dT%H:%MZ) $(git rev-parse --short HEAD 2>/dev/null || echo unknown), $count files ($entries entries), $runs interleaved runs, $(nproc) cores
$warm
$cold
  peak RSS: tilemora-scan $(printf %.1f "$(echo "($oneKiB - $emptyKiB) * 1024 / $entries" | bc -l)") bytes per entry, --threads $threads $(printf %.1f "$(echo "($severalKiB - $emptyKiB) * 1024 / $entries" | bc -l)") (beyond an empty folder's $emptyKiB KiB)
REPORT
)
echo "$report"
mkdir -p bench/results
echo "$report" >>bench/results/parallel_scan.txt
