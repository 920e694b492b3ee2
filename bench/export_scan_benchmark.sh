#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times tilemora-scan writing an export as it scans the generated tree, warm
# cache, interleaved: no export, the binary export on one thread and on the
# default threads, and the JSON export (always one thread); reports the
# medians, their ratios to the scan without an export, the files' sizes and
# the peak memory of each.
#
#   bench/export_scan_benchmark.sh [RUNS]
#
# The tree is /var/tmp/tilemora-bench-1000000 (or $BENCH_TREE), made once.
# Results are appended to bench/results/export_scan.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
count=1000000
tree=${BENCH_TREE:-/var/tmp/tilemora-bench-$count}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target tilemora-scan tmgentree >/dev/null
scan=$PWD/build/release/src/cli/tilemora-scan

source bench/timing.sh
generateTree "$tree" "$count"

tools=(plain binary-one binary json)
commandOf() { # commandOf TOOL: sets command to the tool's command line
  case $1 in
    plain) command=("$scan" --top 0 "$tree") ;;
    binary-one) command=("$scan" --top 0 --threads 1 --export "$out/one.ncdu" "$tree") ;;
    binary) command=("$scan" --top 0 --export "$out/default.ncdu" "$tree") ;;
    json) command=("$scan" --top 0 --export "$out/scan.json" "$tree") ;;
  esac
}
describe() {
  case $1 in
    plain) echo "no export (default threads)" ;;
    binary-one) echo "--export .ncdu --threads 1" ;;
    binary) echo "--export .ncdu (default threads)" ;;
    json) echo "--export .json (one thread)" ;;
  esac
}

for tool in "${tools[@]}"; do  # warms the cache
  commandOf "$tool"
  "${command[@]}" >/dev/null 2>&1
  : >"$out/$tool.times"
done
for ((i = 0; i < runs; i++)); do
  for tool in "${tools[@]}"; do
    commandOf "$tool"
    seconds "${command[@]}" >>"$out/$tool.times"
  done
done
plainTime=$(median <"$out/plain.times")
lines=""
for tool in "${tools[@]}"; do
  time=$(median <"$out/$tool.times")
  commandOf "$tool"
  kib=$({ /usr/bin/time -f '%M' "${command[@]}" >/dev/null; } 2>&1 | tail -1)
  lines+=$(printf '    %-36s median %6.3f s   (%.2f of no export)   peak %6.1f MB\n' "$(describe "$tool")" "$time" \
    "$(echo "$time / $plainTime" | bc -l)" "$(echo "$kib / 1024" | bc -l)")$'\n'
done
entries=$("$scan" "$tree" | awk '/^Entries:/ {print $2}')
report=$(cat <<REPORT
$(date -u +%Y-%m-%dT%H:%MZ) $(git rev-parse --short HEAD 2>/dev/null || echo unknown), $count files ($entries entries), $runs interleaved runs, warm cache, $(nproc) cores
${lines%$'\n'}
  files: binary $(stat -c %s "$out/default.ncdu") bytes (one thread: $(stat -c %s "$out/one.ncdu")), JSON $(stat -c %s "$out/scan.json") bytes
REPORT
)
echo "$report"
echo "$report" >>bench/results/export_scan.txt
