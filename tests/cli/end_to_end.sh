#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tilemora-scan as a user runs it: a report, a Graphviz file that dot
# accepts even for hostile names, and clear errors for what cannot be scanned.
set -u
scan=$1
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

tree=$work/tree
mkdir -p "$tree/sub dir/deeper"
head -c 100000 /dev/zero > "$tree/sub dir/deeper/big"
head -c 10 /dev/zero > "$tree/small"
for name in 'quote"d' 'back\slash' 'pi|pe' '{braces}' '<angle>' $'new\nline' $'bad\xff\xfebytes' $'tab\there'; do
  head -c 5000 /dev/zero > "$tree/$name"
done
ln -s .. "$tree/sub dir/loop"
sync

out=$("$scan" "$tree" --dot "$work/tree.dot" 2>"$work/err") || fail "scan exited $?"
expected=$(du -B1 --apparent-size -s "$tree" >/dev/null; find "$tree" -type f -printf '%b\n' | awk '{s += $1 * 512} END {print s}')
grep -q "^Total: .* ($expected bytes)$" <<<"$out" || fail "total is not $expected bytes: $out"
grep -q 'sub dir/$' <<<"$out" || fail "largest child not listed"
[ "$(head -n1 <<<"$out")" = "$tree" ] || fail "first line is not the path"
# --depth N lists N levels below the path, the default one.
grep -q 'deeper/$' <<<"$out" && fail "the default depth listed a grandchild"
levels=$("$scan" --depth 2 "$tree")
grep -q '%    deeper/$' <<<"$levels" && ! grep -q 'big$' <<<"$levels" || fail "--depth 2 did not list two levels: $levels"
"$scan" --depth 3 "$tree" | grep -q '%      big$' || fail "--depth 3 did not list the third level"
[ -s "$work/err" ] && fail "stderr not empty when it is not a terminal: $(cat "$work/err")"
if command -v dot >/dev/null; then
  dot -Tsvg "$work/tree.dot" -o "$work/tree.svg" 2>"$work/dot.err" || fail "dot rejected the graph: $(cat "$work/dot.err")"
  grep -q 'pi|pe\|pi&#124;pe' "$work/tree.svg" || fail "escaped name missing from the picture"
fi
nodes=$(grep -c 'shape=record' "$work/tree.dot")
edges=$(grep -c ' -> ' "$work/tree.dot")
[ "$nodes" -eq 13 ] || fail "expected 13 nodes, got $nodes"
[ "$edges" -eq 12 ] || fail "expected 12 edges, got $edges"

# The treemap as a picture: a PNG of the asked size.
"$scan" "$tree" --png "$work/map.png" --size 320x240 >/dev/null 2>"$work/png.err" || fail "--png exited $?: $(tail -5 "$work/png.err")"
header=$(od -An -tx1 -N24 "$work/map.png" 2>/dev/null | tr -d ' \n')
[ "${header:0:16}" = 89504e470d0a1a0a ] || fail "not a PNG file"
[ "${header:32:16}" = 00000140000000f0 ] || fail "not 320x240: ${header:32:16}"
"$scan" "$tree" --png "$work/map.png" --size 0x10 >/dev/null 2>&1; [ $? -eq 2 ] || fail "a bad size is not refused"

# The file types: categories, then extensions, sizes to the byte.
types=$work/types
mkdir -p "$types/pics"
head -c 20000 /dev/zero > "$types/pics/a.JPG"
head -c 9000 /dev/zero > "$types/pics/b.jpg"
head -c 30000 /dev/zero > "$types/film.mkv"
head -c 100 /dev/zero > "$types/README"
sync
blocks() { stat -c %b "$@" | awk '{s += $1 * 512} END {print s}'; }
out=$("$scan" "$types" --types --bytes --top 0 2>&1) || fail "--types exited $?"
jpg=$(blocks "$types/pics/a.JPG" "$types/pics/b.jpg")
grep -qE "^ +$jpg +[0-9.]+% +2  Images$" <<<"$out" || fail "images are not $jpg bytes in 2 files: $out"
grep -qE "^ +$(blocks "$types/film.mkv") +[0-9.]+% +1  \.mkv \(Video\)$" <<<"$out" || fail "no .mkv line: $out"
grep -qE "^ +$(blocks "$types/README") +[0-9.]+% +1  \(none\) \(Other\)$" <<<"$out" || fail "no line for no extension: $out"
[ "$(grep -n 'Largest extensions:' <<<"$out" | cut -d: -f1)" -gt "$(grep -n 'File types:' <<<"$out" | cut -d: -f1)" ] ||
  fail "categories do not come first: $out"

for bad in "$work/missing" "$tree/small" "$tree/small/below"; do
  "$scan" "$bad" >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 2 ] || fail "$bad: exit status $status, not 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -qF "$bad" "$work/err" || fail "$bad: error is not one line naming it: $(cat "$work/err")"
done
"$scan" --bogus >/dev/null 2>&1; [ $? -eq 2 ] || fail "an unknown option is not refused"

# Apparent sizes: the total is what find says the files' lengths add up to,
# a sparse file at its full length, every hard link counted unless asked.
measured=$work/measured
mkdir -p "$measured/links" "$measured/tiny" "$measured/cache" "$measured/build"
truncate -s 50M "$measured/sparse.img"
head -c 7000 /dev/urandom > "$measured/links/one"
ln "$measured/links/one" "$measured/links/two"
for i in 1 2 3 4 5; do head -c $i /dev/zero > "$measured/tiny/$i"; done
printf 'Signature: 8a477f597d28d172789f06886806bc55\n' > "$measured/cache/CACHEDIR.TAG"
head -c 9000 /dev/zero > "$measured/cache/blob"
head -c 9000 /dev/zero > "$measured/build/x.o"
sync
lengths=$(find "$measured" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
once=$(find "$measured" -type f -printf '%i %s\n' | sort -u -k1,1 | awk '{s += $2} END {print s}')
out=$("$scan" "$measured" --apparent-size --bytes --top 1) || fail "--apparent-size exited $?"
grep -q "^Total (apparent size): $lengths$" <<<"$out" || fail "apparent total is not $lengths: $out"
grep -q 'sparse.img$' <<<"$out" || fail "the sparse file is not the largest by length: $out"
"$scan" "$measured" --apparent-size --bytes --hard-links-once | grep -q "^Total (apparent size): $once$" ||
  fail "apparent total with links once is not $once"
# Exclusions: not counted, told in the report and marked in the export.
echo '*.o' > "$work/patterns"
out=$("$scan" "$measured" --bytes --exclude-from "$work/patterns" --exclude '/tiny' --exclude-caches \
  --export "$work/excluded.json") || fail "exclusions exited $?"
grep -q '^Excluded: 3 (\*.o, /tiny, caches)$' <<<"$out" || fail "the report does not tell the exclusions: $out"
grep -c '"excluded":"pattern"' "$work/excluded.json" | grep -qx 3 || fail "the export does not mark 3 exclusions"
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$work/excluded.json" || fail "the export with exclusions is no JSON"
grep -q '"name":"x.o"' "$work/excluded.json" && ! grep -q '"name":"blob"' "$work/excluded.json" ||
  fail "the export lists what is inside an excluded cache, or not what was excluded"
"$scan" "$measured" --exclude '[oops' >/dev/null 2>"$work/err"; status=$?
[ $status -eq 2 ] && grep -q 'never closes' "$work/err" || fail "a broken pattern is not refused with why ($status)"

checks=31
echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
