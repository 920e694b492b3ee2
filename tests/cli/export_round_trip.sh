#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tilemora-scan --export read back by a JSON parser (Python's) on a tree
# with odd names, hard links, a FIFO, a folder that cannot be read and a
# mount point inside: valid JSON, every name back as its bytes, the same
# total and entry count as the scan's own report, the right flags; and the
# binary export of the same tree read back as the same tree.
set -u
scan=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'umount "$work/tree/mnt" 2>/dev/null; chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tree=$work/tree
mkdir -p "$tree/sub/deeper" "$tree/locked/inside" "$tree/mnt"
head -c 100000 /dev/urandom >"$tree/sub/deeper/big"
long=$(printf 'n%.0s' $(seq 255))
for name in 'quote"d' 'back\slash' $'new\nline' $'bad\xff\xfebytes' $'\xed\xb3\xa9surrogate-bytes' "$long" 'ünïcødé' $'ctl\x01'; do
  head -c 5000 /dev/zero >"$tree/sub/$name"
done
echo linked >"$tree/linked"
ln "$tree/linked" "$tree/sub/hardlink"
mkfifo "$tree/fifo"
ln -s .. "$tree/sub/loop"
head -c 3000 /dev/zero >"$tree/locked/inside/hidden"
chmod 000 "$tree/locked"
chmod -R a+rX "$tree/sub"
sync

# As root: mount a file system inside the tree in a private namespace, and
# scan as an unprivileged user so that the locked folder is unreadable.
run=("$scan")
mounted=no
locked=yes
if [ "$(id -u)" -eq 0 ]; then
  chmod 777 "$work"
  if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    run=(setpriv --reuid=65534 --regid=65534 --clear-groups "$scan")
  else
    locked=no
    echo "SKIP: the unreadable folder case (setpriv cannot switch to an unprivileged user here)"
  fi
  if unshare -m true 2>/dev/null; then
    mounted=yes
  else
    echo "SKIP: the mount point case (unshare -m is not permitted here)"
  fi
else
  echo "SKIP: the mount point case (needs root for a private mount namespace)"
fi
scan_in_tree() {
  if [ $mounted = yes ]; then
    unshare -m bash -c 'mount -t tmpfs tilemora-test "$1/mnt" && head -c 9000 /dev/zero >"$1/mnt/elsewhere" && shift && exec "$@"' \
      - "$tree" "$@"
  else
    "$@"
  fi
}

checks=$((checks + 1))
scan_in_tree "${run[@]}" --export "$work/tree.json" --bytes --top 0 "$tree" >"$work/report" 2>"$work/err"
status=$?
if [ $locked = yes ]; then
  [ $status -eq 1 ] && grep -q "1 folders could not be read" "$work/err" ||
    fail "status $status (1 expected: a folder could not be read): $(cat "$work/err")"
else
  [ $status -eq 0 ] || fail "status $status: $(cat "$work/err")"
fi

checks=$((checks + 1))
if ! python3 "$here/read_export.py" "$work/tree.json" "$tree" >"$work/read" 2>"$work/read.err"; then
  fail "the export does not read back: $(cat "$work/read.err")"
else
  total=$(sed -n 's/^Total: //p' "$work/report")
  entries=$(sed -n 's/^Entries: //p' "$work/report")
  checks=$((checks + 1))
  [ "$(sed -n 1p "$work/read")" = "total $total" ] || fail "export $(sed -n 1p "$work/read"), scan total $total"
  checks=$((checks + 1))
  [ "$(sed -n 2p "$work/read")" = "entries $entries" ] || fail "export $(sed -n 2p "$work/read"), scan entries $entries"
  # path|flags for the entries that carry some.
  expected_flags='/fifo|notreg
/linked|hlnkc
/sub/hardlink|hlnkc
/sub/deeper/big|'
  [ $locked = yes ] && expected_flags+=$'\n/locked|read_error folder'
  while IFS='|' read -r path flags; do
    checks=$((checks + 1))
    grep -qxF "$tree$path	$flags" "$work/read" || fail "no entry $path with flags '$flags'"
  done <<<"$expected_flags"
  checks=$((checks + 1))
  if [ $mounted = yes ]; then
    grep -qxF "$tree/mnt	excluded" "$work/read" || fail "the mount point is not excluded: $(grep /mnt "$work/read")"
  fi
  checks=$((checks + 1))
  ! grep -q "/loop" "$work/read" || fail "the symbolic link was exported"
fi

# The same export through standard output, as a pipe to another host would
# carry it: nothing else on it.
checks=$((checks + 1))
"$scan" --export - "$here" 2>/dev/null | python3 "$here/read_export.py" /dev/stdin >/dev/null ||
  fail "--export - is not a clean JSON stream"

# The same scan in ncdu's binary format, read back: the tree the JSON
# export gives (names as bytes, sizes, dates, the unreadable folder, what
# was left out), whatever the format carries that JSON text does not.
checks=$((checks + 1))
scan_in_tree "${run[@]}" --export "$work/tree.ncdu" --top 0 "$tree" >/dev/null 2>&1
"$scan" --import "$work/tree.json" --export "$work/from-json.json" >/dev/null 2>&1
if ! "$scan" --import "$work/tree.ncdu" --export "$work/from-binary.json" >/dev/null 2>"$work/binary.err"; then
  fail "the binary export does not read back: $(cat "$work/binary.err")"
elif [ "$(tail -n +2 "$work/from-json.json")" != "$(tail -n +2 "$work/from-binary.json")" ]; then
  fail "the binary export reads back otherwise than the JSON one: $(diff "$work/from-json.json" "$work/from-binary.json" | head -5)"
fi
checks=$((checks + 1))
"$scan" --export - --format binary "$here" 2>/dev/null | "$scan" --import - --top 0 >"$work/piped" 2>&1 &&
  grep -q '^Entries: [1-9]' "$work/piped" || fail "--export - --format binary does not read back from a pipe: $(cat "$work/piped")"

# Reports on a binary export, read a folder at a time, are those of the
# same scan read whole: the largest entries three levels down, the file
# types, and the sizes by length.
"$scan" --export "$work/src.ncdu" --top 0 "$here/../../src" >/dev/null 2>&1
"$scan" --import "$work/src.ncdu" --export "$work/src.json" >/dev/null 2>&1
for options in "--top 3 --depth 3 --types" "--top 2 --depth 2 --apparent-size --bytes"; do
  checks=$((checks + 1))
  by_folders=$("$scan" --import "$work/src.ncdu" $options 2>&1)
  whole=$("$scan" --import "$work/src.json" $options 2>&1)
  [ "$by_folders" = "$whole" ] && [ "$(grep -c '%  ' <<<"$whole")" -gt 5 ] ||
    fail "the report on the binary export with $options differs: $(diff <(echo "$whole") <(echo "$by_folders") | head -5)"
done

echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
