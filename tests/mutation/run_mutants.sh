#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How many realistic faults the tests catch. Copies the committed sources to
# a scratch folder, builds them once (Debug), checks that every test passes,
# then applies each fault of the list (mutants.txt here: one line each, see
# its header) alone, rebuilds, and runs the whole ctest suite, stopping at
# the first failure. A fault is caught when a test fails (or times out).
#
#   bash tests/mutation/run_mutants.sh [LIST] [NUMBER...]
#
# NUMBERs pick faults by their line among the faults (1 for the first).
# Scratch: $MUTATION_DIR (default /tmp/tilemora-mutants). Needs what
# scripts/setup.sh installs; takes about a minute per fault on 2 cores.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source_tree=$(cd "$here/../.." && pwd)
list=${1:-$here/mutants.txt}
[ $# -gt 0 ] && shift
scratch=${MUTATION_DIR:-/tmp/tilemora-mutants}
jobs=$(nproc)

mkdir -p "$scratch"
rm -rf "$scratch/src"
mkdir "$scratch/src"
(cd "$source_tree" && git ls-files -z | xargs -0 cp --parents -t "$scratch/src")
export CCACHE_BASEDIR=$scratch
cmake -S "$scratch/src" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTILEMORA_BUILD_BENCH=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null || exit 2
# Neither reads the list of faults, which is the loop's standard input.
build() { cmake --build "$scratch/build" -j "$jobs" </dev/null >"$scratch/build.log" 2>&1; }
run_tests() {
  (cd "$scratch/build" && ctest -j "$jobs" --timeout 120 --stop-on-failure </dev/null >"$scratch/test.log" 2>&1)
}
build || { echo "the sources do not build: $scratch/build.log"; exit 2; }
start=$(date +%s)
run_tests || { echo "the tests fail without a fault: $scratch/test.log"; exit 2; }
echo "all tests pass in $(($(date +%s) - start)) s"

caught=0 missed=0 invalid=0 number=0
while IFS=$'\t' read -r file before after why; do
  case "$file" in '#'* | '') continue ;; esac
  number=$((number + 1))
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$number"; then continue; fi
  target="$scratch/src/$file"
  cp "$target" "$scratch/original"
  if ! python3 - "$target" "$before" "$after" <<'PY'
import sys
path, before, after = sys.argv[1:]
text = open(path, encoding="utf-8").read()
if text.count(before) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(before, after))
PY
  then
    echo "#$number INVALID (the text is not found once): $file: $why"
    invalid=$((invalid + 1))
    continue
  fi
  if ! build; then
    echo "#$number INVALID (does not build): $file: $why"
    invalid=$((invalid + 1))
  elif run_tests; then
    echo "#$number MISSED: $file: $why"
    missed=$((missed + 1))
  else
    failed=$(grep -m1 -E '\*\*\*(Failed|Timeout|Exception)|\(Failed\)|\(Timeout\)' "$scratch/test.log" | sed 's/^ *//' | cut -c1-100)
    echo "#$number caught: $file: $why — $failed"
    caught=$((caught + 1))
  fi
  cp "$scratch/original" "$target"
done <"$list"
build
total=$((caught + missed))
echo "caught $caught of $total ($((total > 0 ? 100 * caught / total : 0)) %), $invalid invalid"
[ $missed -eq 0 ]
