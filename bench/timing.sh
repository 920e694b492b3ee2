# SPDX-License-Identifier: GPL-3.0-or-later
# What the scan benchmarks share; sourced, from the source tree's root.

# generateTree ROOT FILE_COUNT: makes the generated tree once and keeps it.
generateTree() {
  if [ ! -e "$1/.complete" ]; then
    rm -rf "$1"
    echo "generating $2 files in $1…"
    build/release/bench/tmgentree "$1" "$2"
    touch "$1/.complete"
  fi
}

seconds() { # runs "$@" quietly and prints the wall time in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
