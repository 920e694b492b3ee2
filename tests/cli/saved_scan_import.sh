#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tilemora-scan --import: cache files written by the real qdirstat-cache-writer
# (plain, gzipped, with full paths) read to the same totals, file for file,
# as the scan's own report by length, on a tree with odd names, a sparse
# file, hard links, a FIFO and a symbolic link; and every report from a
# saved scan, converted from a cache file to an export and back to the same
# report.
set -u
scan=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { checks=$((checks + 1)); "$@" || fail "${FUNCNAME[1]:-main}: $*"; }
command -v qdirstat-cache-writer >/dev/null || { echo "FAIL: qdirstat-cache-writer is missing (scripts/setup.sh installs qdirstat)"; exit 1; }

tree="$work/with blank"
mkdir -p "$tree/sub dir/deeper" "$tree/empty"
head -c 100000 /dev/urandom >"$tree/sub dir/deeper/big"
for name in 'per%cent' $'bad\xff\xfebytes' 'ünïcødé' $'tab\there' '#hash'; do head -c 5000 /dev/zero >"$tree/sub dir/$name"; done
truncate -s 3M "$tree/sparse"
echo linked >"$tree/linked" && ln "$tree/linked" "$tree/sub dir/hardlink"
mkfifo "$tree/fifo"
ln -s .. "$tree/sub dir/loop"

# Lines of the report by length: the total, each entry with its exact size.
report() { "$scan" --apparent-size --bytes --top 100 --depth 10 "$@" | grep -v '^/'; }
expected=$(report "$tree")
for options in "" "-l"; do
  for file in cache cache.gz; do
    checks=$((checks + 1))
    qdirstat-cache-writer $options "$tree" "$work/$file" >/dev/null 2>&1 || { fail "qdirstat-cache-writer $options $file"; continue; }
    got=$(report --import "$work/$file" 2>&1)
    [ "$got" = "$(printf '%s\nWithout a size on disk: 10 files (their length stands in)' "$expected")" ] ||
      fail "--import $file ($options): got
$got
expected
$expected"
  done
done
check test "$(head -c 2 "$work/cache.gz" | od -An -tx1 | tr -d ' ')" = 1f8b

# Converted: the cache file to an export, read back with every report the same.
# (The export gives each file both sizes: nothing stands in once it is read back.)
"$scan" --import "$work/cache.gz" --export "$work/converted.json.zst" >/dev/null
"$scan" --export "$work/scan.json" "$tree" >/dev/null
"$scan" --import "$work/scan.json" --export "$work/again.json.gz" >/dev/null
for options in "--bytes --top 5 --depth 3" "--types" "--apparent-size --bytes --depth 2"; do
  for pair in "cache.gz converted.json.zst" "scan.json again.json.gz"; do
    set -- $pair
    checks=$((checks + 1))
    [ "$("$scan" --import "$work/$1" $options | grep -v '^Without')" = "$("$scan" --import "$work/$2" $options)" ] ||
      fail "the report $options of $1 differs once converted to $2"
  done
done
for measure in "" --apparent-size; do
  check cmp -s <("$scan" $measure --bytes --depth 9 --top 99 "$tree") <("$scan" $measure --bytes --depth 9 --top 99 --import "$work/again.json.gz")
done
check "$scan" --import "$work/scan.json" --png "$work/map.png" --dot "$work/tree.dot" --top 0 >/dev/null
check test "$(head -c 4 "$work/map.png" | od -An -tx1 | tr -d ' ')" = 89504e47
# A comparison with the saved scan it was converted from: no change.
check grep -q '^Change: +0 since' <("$scan" --bytes --import "$work/again.json.gz" --compare "$work/scan.json")

# What --import refuses: a path or a scan's option beside it, a file that is no saved scan.
checks=$((checks + 1))
"$scan" --import "$work/scan.json" "$tree" >/dev/null 2>"$work/err"
[ $? -eq 2 ] && grep -q 'a PATH cannot be given with it' "$work/err" || fail "--import with a PATH: $(cat "$work/err")"
checks=$((checks + 1))
"$scan" --import "$work/scan.json" --exclude '*.o' >/dev/null 2>"$work/err"
[ $? -eq 2 ] && grep -q -- '--exclude cannot be given with it' "$work/err" || fail "--import with --exclude"
checks=$((checks + 1))
printf '[qdirstat 1.0 cache file]\nD /t 0 0\nF f 1x 0\n' >"$work/bad.cache"
"$scan" --import "$work/bad.cache" >/dev/null 2>"$work/err"
[ $? -eq 2 ] && grep -q 'line 3, column 5: "1x" is not a size' "$work/err" || fail "a bad size: $(cat "$work/err")"

# The helper of a scan as administrator: the export of one absolute path on
# standard output and nothing else; a closed pipe ends it at its next write,
# even when its parent ignored SIGPIPE (the user cannot signal it as root).
undated() { sed 's/"timestamp":[0-9]*//'; }
check cmp -s <("$scan" --admin-export "$tree" | undated) <("$scan" --export - "$tree" | undated)
for arguments in "--admin-export relative/path" "--admin-export $work --top 3" "--top 3 --admin-export $work"; do
  checks=$((checks + 1))
  "$scan" $arguments >"$work/out" 2>"$work/err"
  [ $? -eq 2 ] && [ ! -s "$work/out" ] || fail "$arguments: not refused"
done
checks=$((checks + 1))
status=$( (trap '' PIPE; "$scan" --admin-export /usr/share | head -c 1000 >/dev/null; echo "${PIPESTATUS[0]}") 2>/dev/null)
[ "$status" = 141 ] || fail "the helper went on after its reader closed the pipe (status $status)"

echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
