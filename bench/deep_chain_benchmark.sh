#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A chain of nested folders, each holding only the next (and the deepest a
# file): the hardest shape for several scan threads, which hand every level
# to one another. Times tilemora-scan with one thread and with the default
# (one per processor), interleaved, RUNS times each, and reports the median
# seconds and peak resident memory of each, and the default's ratios to one
# thread. Results are appended to results/deep_chain.txt.
#
#   bash bench/deep_chain_benchmark.sh [DEPTH] [RUNS]
#
# Target: the default within 1.5 times one thread's time and memory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here/.."
depth=${1:-100000}
runs=${2:-5}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target tilemora-scan >/dev/null
scanner=build/release/src/cli/tilemora-scan

tree=$(mktemp -d "${TMPDIR:-/var/tmp}/tilemora-chain.XXXXXX")
trap 'rm -rf "$tree"' EXIT
python3 - "$tree" "$depth" <<'EOF'
import os, sys
folder = os.open(sys.argv[1], os.O_RDONLY | os.O_DIRECTORY)
for _ in range(int(sys.argv[2])):
    os.mkdir("d", dir_fd=folder)
    below = os.open("d", os.O_RDONLY | os.O_DIRECTORY, dir_fd=folder)
    os.close(folder)
    folder = below
with os.fdopen(os.open("f", os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=folder), "w") as f:
    f.write("x")
os.close(folder)
EOF
"$scanner" --bytes "$tree" >/dev/null  # warm the cache

# One run: "SECONDS KILOBYTES" of a scan with the given options.
measure() {
  local out
  out=$( { /usr/bin/time -f '%e %M' "$scanner" --bytes "$@" "$tree" >/dev/null; } 2>&1 )
  echo "${out##*$'\n'}"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

one_t=(); one_m=(); default_t=(); default_m=()
for _ in $(seq "$runs"); do
  read -r t m < <(measure --threads 1); one_t+=("$t"); one_m+=("$m")
  read -r t m < <(measure); default_t+=("$t"); default_m+=("$m")
done
ot=$(printf '%s\n' "${one_t[@]}" | median); om=$(printf '%s\n' "${one_m[@]}" | median)
dt=$(printf '%s\n' "${default_t[@]}" | median); dm=$(printf '%s\n' "${default_m[@]}" | median)
report=$(cat <<EOF
$(date -u +%Y-%m-%d) chain of $depth folders, $(nproc) processors, medians of $runs
  one thread: $ot s, $((om / 1024)) MB
  default:    $dt s, $((dm / 1024)) MB
  default / one thread: time $(echo "scale=2; $dt / $ot" | bc), memory $(echo "scale=2; $dm / $om" | bc)
EOF
)
echo "$report"
echo "$report" >> "$here/results/deep_chain.txt"
