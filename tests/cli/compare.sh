#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tilemora-scan --export compressed by the file's ending, and --compare
# against it after the folder changed, through the real binary: the same
# change whatever the compression (files told by their bytes, not their
# names), from a saved scan of another path, with exact sizes and signs.
set -u
scan=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { checks=$((checks + 1)); "$@" || fail "${FUNCNAME[1]:-main}: $*"; }
tree=$work/tree
mkdir -p "$tree/a" "$tree/b"
head -c 100000 /dev/urandom >"$tree/a/grow"
head -c 50000 /dev/urandom >"$tree/a/shrink"
head -c 30000 /dev/urandom >"$tree/b/gone"
for ending in json json.zst json.gz ncdu; do "$scan" --export "$work/old.$ending" "$tree" >/dev/null || fail "export .$ending"; done
check test "$(head -c 4 "$work/old.json.zst" | od -An -tx1 | tr -d ' ')" = 28b52ffd
check test "$(head -c 2 "$work/old.json.gz" | od -An -tx1 | tr -d ' ')" = 1f8b
# The same text once decompressed, but for the time each scan started.
undated() { sed 's/"timestamp":[0-9]*//' "$@"; }
check cmp -s <(zstd -dc "$work/old.json.zst" | undated) <(undated "$work/old.json")
check cmp -s <(gzip -dc "$work/old.json.gz" | undated) <(undated "$work/old.json")

blocks() { echo $(($(stat -c %b "$1") * 512)); }
before_grow=$(blocks "$tree/a/grow") before_shrink=$(blocks "$tree/a/shrink") gone=$(blocks "$tree/b/gone")
head -c 200000 /dev/urandom >>"$tree/a/grow"
head -c 1000 /dev/urandom >"$tree/a/shrink"
rm "$tree/b/gone"
mkdir "$tree/c" && head -c 70000 /dev/urandom >"$tree/c/new"
sync
grew=$(($(blocks "$tree/a/grow") - before_grow)) shrank=$((before_shrink - $(blocks "$tree/a/shrink")))
new=$(blocks "$tree/c/new")
total=$((grew - shrank - gone + new))

expected="Change: +$total
New: 1, removed: 1, grown: 1, shrunk: 1
Largest changes:
+$grew grew a/grow
+$new new c/
-$shrank shrank a/shrink
-$gone removed b/gone"
cp "$work/old.json.zst" "$work/renamed.bin"
# Saved elsewhere: the roots are matched, not their paths.
sed 's|"name":"/[^"]*"|"name":"/another/machine"|' "$work/old.json" >"$work/elsewhere.json"
# Compared with the folder, or with its binary export read a folder at a time.
"$scan" --export "$work/new.ncdu" "$tree" >/dev/null || fail "export new.ncdu"
for old in old.json old.json.zst old.json.gz renamed.bin elsewhere.json old.ncdu; do
 for current in "$tree" "--import $work/new.ncdu"; do
  checks=$((checks + 1))
  "$scan" --bytes --compare "$work/$old" $current >"$work/out" 2>"$work/err"
  status=$?
  # A binary export does not say when it was made.
  got=$(sed -n '/^Change:/,/^Entries/p' "$work/out" | grep -v '^Entries' | sed 's/ since.*//' | tr -s ' ' | sed 's/^ //')
  [ $status -eq 0 ] && [ "$got" = "$expected" ] && [ ! -s "$work/err" ] ||
    fail "--compare $old $current: status $status, got:
$got
expected:
$expected
$(cat "$work/err")"
 done
done
# --top limits the list; sizes are formatted without --bytes.
checks=$((checks + 1))
"$scan" --top 1 --compare "$work/old.json" "$tree" >"$work/out"
[ "$(sed -n '/^Largest changes:/,$p' "$work/out" | grep -c 'a/grow')" = 1 ] &&
  [ "$(sed -n '/^Largest changes:/,/^Entries/p' "$work/out" | wc -l)" = 3 ] && grep -q '^Change: +[0-9.]* KB' "$work/out" ||
  fail "--top 1: $(cat "$work/out")"

echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
