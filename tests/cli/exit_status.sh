#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tilemora-scan's exit statuses and messages, through the real binary:
# every usage error, help and version, paths that cannot be scanned,
# outputs that cannot be written (before the scan, and standard output that
# fails), and outputs replaced whole or not at all.
set -u
scan=$1
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tree=$work/tree
mkdir -p "$tree/sub"
head -c 20000 /dev/zero > "$tree/sub/file"
# Enough entries that an export overfills a pipe's buffer.
mkdir "$tree/many" && (cd "$tree/many" && touch $(seq -f 'entry-%04g' 1 2000))

# expect STATUS STDERR-PATTERN -- ARGUMENTS...: runs the scan, checks the
# status, that stderr matches the pattern (empty pattern: stderr empty).
expect() {
  local want=$1 pattern=$2
  shift 3
  checks=$((checks + 1))
  "$scan" "$@" >"$work/out" 2>"$work/err" </dev/null
  local status=$?
  if [ $status -ne "$want" ]; then
    fail "$* -> status $status, not $want: $(head -3 "$work/err")"
  elif [ -z "$pattern" ] && [ -s "$work/err" ]; then
    fail "$* -> unexpected stderr: $(head -3 "$work/err")"
  elif [ -n "$pattern" ] && ! grep -q -- "$pattern" "$work/err"; then
    fail "$* -> stderr lacks '$pattern': $(head -3 "$work/err")"
  fi
}

# Usage errors: status 2, the reason on stderr, nothing scanned.
expect 2 "unknown option --bogus" -- --bogus "$tree"
expect 2 "--top needs a value" -- "$tree" --top
expect 2 "--top needs a whole number" -- --top -1 "$tree"
expect 2 "--depth needs a whole number" -- --depth 2x "$tree"
expect 2 "--threads needs a whole number from 0 to 64" -- --threads 65 "$tree"
expect 2 "--size needs WIDTHxHEIGHT" -- --png "$work/p.png" --size 0x10 "$tree"
expect 2 "--size applies to --png" -- --size 100x100 "$tree"
expect 2 "--bytes and --si cannot be combined" -- --bytes --si "$tree"
expect 2 "--png cannot write to standard output" -- --png - "$tree"
expect 2 "only one output can go to standard output" -- --dot - --export - "$tree"
expect 2 "two outputs cannot share" -- --dot "$work/x" --export "$work/x" "$tree"
expect 2 "only one path can be scanned" -- "$tree" "$tree"
expect 2 "--format takes json or binary, not xml" -- --export "$work/x" --format xml "$tree"
expect 2 "--format applies to --export" -- --format binary "$tree"
# Paths that cannot be scanned: status 2, one line naming the path.
expect 2 "cannot scan $work/missing: No such file" -- "$work/missing"
expect 2 "cannot scan $tree/sub/file: not a folder" -- "$tree/sub/file"
# Outputs that cannot be written are told before the scan: status 1.
expect 1 "cannot write $work/missing/x.json" -- --export "$work/missing/x.json" "$tree"
expect 1 "cannot write $tree/sub: it is a folder" -- --dot "$tree/sub" "$tree"
expect 2 "--compare prints its report on standard output" -- --compare "$work/x" --export - "$tree"
# A saved scan to compare with that cannot be read: status 2, where and why.
expect 2 "cannot read $work/missing.json: No such file" -- --compare "$work/missing.json" "$tree"
printf '\xbfncduEX1\x10\x00' >"$work/cut.ncdu"
expect 2 "cannot read $work/cut.ncdu: the file ends before its index" -- --import "$work/cut.ncdu"
printf '[1,2,{},[{"name":"/x"}],true]' >"$work/broken.json"
expect 2 "cannot read $work/broken.json: line 1, column 29" -- --compare "$work/broken.json" "$tree"
printf "not an export" | gzip >"$work/broken.gz"
expect 2 "cannot read $work/broken.gz: line 1, column 2: Invalid value" -- --compare "$work/broken.gz" "$tree"
# Success, with nothing on stderr; the largest values accepted are accepted.
expect 0 "" -- "$tree"
expect 0 "" -- --top 0 --depth 3 --bytes "$tree"
expect 0 "" -- --threads 64 --top 1000000 --depth 100000 "$tree"
expect 0 "" -- --png "$work/wide.png" --size 20000x1 "$tree"
expect 0 "" -- --png "$work/tall.png" --size 1x20000 "$tree"

# One folder that cannot be read: status 1, and it is named. Root reads
# everything, so the scan runs as nobody then.
locked=$(mktemp -d)
chmod 755 "$locked"
mkdir -p "$locked/open" "$locked/shut"
chmod 000 "$locked/shut"
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
checks=$((checks + 1))
"${as_user[@]}" "$scan" "$locked" >"$work/out" 2>"$work/err" </dev/null
status=$?
[ $status -eq 1 ] && grep -q "1 folders could not be read" "$work/err" && grep -q "$locked/shut" "$work/err" ||
  fail "one unreadable folder: status $status, $(cat "$work/err")"
rm -rf "$locked/open"; rmdir "$locked/shut" "$locked"

# What is not a regular file is written where it is, never replaced by a
# renamed file: a pipe from process substitution, a named pipe.
checks=$((checks + 1))
"$scan" --export >(cat >"$work/piped.json") "$tree" >/dev/null 2>"$work/err"; status=$?
for _ in $(seq 50); do grep -q '^\[1,2,' "$work/piped.json" 2>/dev/null && break; sleep 0.1; done
[ $status -eq 0 ] && grep -q '^\[1,2,' "$work/piped.json" || fail "--export to a pipe: status $status, $(cat "$work/err")"
checks=$((checks + 1))
mkfifo "$work/fifo"
timeout 10 cat "$work/fifo" >"$work/from-fifo" &
"$scan" --dot "$work/fifo" "$tree" >/dev/null 2>&1
wait $!
[ -p "$work/fifo" ] && grep -q '^digraph' "$work/from-fifo" && [ -z "$(ls -A "$work" | grep '^\.fifo\.')" ] ||
  fail "--dot to a named pipe replaced it or wrote nothing: $(ls -A "$work")"
rm -f "$work/fifo" "$work/from-fifo" "$work/piped.json"

# Hard links once: the second link of a file counts nothing.
checks=$((checks + 1))
ln "$tree/sub/file" "$tree/sub/file-link"
every=$("$scan" --bytes --top 0 "$tree" | sed -n 's/^Total: //p')
once=$("$scan" --bytes --top 0 --hard-links-once "$tree" | sed -n 's/^Total: //p')
[ $((every - once)) -eq $(($(stat -c %b "$tree/sub/file") * 512)) ] ||
  fail "--hard-links-once: $once against $every for every link"
rm "$tree/sub/file-link"

# Several threads, or one per processor, report what one thread reports.
branches=$work/branches
for f in $(seq 1 20); do
  for g in 1 2 3; do
    mkdir -p "$branches/f$f/g$g/h"
    for i in $(seq 1 $((f % 7 + 1))); do head -c $((i * g * 3000)) /dev/zero > "$branches/f$f/g$g/file$i"; done
  done
done
# The default is one thread per processor.
alone=$("$scan" --bytes --depth 4 --top 50 --threads 1 "$branches")
for threads in 2 4 0 default; do
  checks=$((checks + 1))
  option=(--threads "$threads")
  [ "$threads" = default ] && option=()
  [ "$("$scan" --bytes --depth 4 --top 50 "${option[@]}" "$branches")" = "$alone" ] ||
    fail "--threads $threads reports otherwise than one thread"
done
rm -rf "$branches"

# Help and version on standard output, status 0.
for option in --help -h; do
  checks=$((checks + 1))
  "$scan" $option >"$work/out" 2>"$work/err" && grep -q '^usage: tilemora-scan' "$work/out" && [ ! -s "$work/err" ] ||
    fail "$option does not print the usage on stdout with status 0"
done
checks=$((checks + 1))
grep -q -- '--export FILE' "$work/out" || fail "the usage does not list --export"
checks=$((checks + 1))
"$scan" --version >"$work/out" && grep -Eq '^tilemora-scan [0-9]+\.[0-9]+\.[0-9]+ \(.+\)$' "$work/out" ||
  fail "--version prints: $(cat "$work/out")"

# Names are data: no byte of a name reaches the terminal raw (ESC, BEL, the
# C1 control CSI), in reports, tables, changes and errors alike.
crafted=$work/crafted
mkdir -p "$crafted"
head -c 5000 /dev/zero >"$crafted/$(printf 'a\033]0;pwned\007\302\2332J.\033x')"
printf '[1,2,{},[{"name":"%s"}]]' "$crafted" >"$work/empty.json"
printf '[1,2,{},[{"name":"/x"},{"name":"a/\\u001b]0;pwned\\u0007"}]]' >"$work/crafted.json"
for run in "$crafted" "--types $crafted" "--compare $work/empty.json $crafted" "--compare $work/crafted.json $crafted"; do
  checks=$((checks + 1))
  # shellcheck disable=SC2086
  "$scan" $run >"$work/out" 2>"$work/err"
  if LC_ALL=C grep -q "$(printf '\033\|\007\|\302\233')" "$work/out" "$work/err"; then
    fail "tilemora-scan $run prints a name's control characters raw"
  elif ! LC_ALL=C grep -q '\\x1B]0;pwned\\x07' "$work/out" "$work/err"; then
    fail "tilemora-scan $run does not show the name escaped: $(cat "$work/out" "$work/err" | head -5)"
  fi
done

# An output that cannot be written says why, in the system's words.
for output in --png --export --dot; do
  expect 1 "cannot write /dev/full: No space left on device" -- $output /dev/full "$tree"
done
# Standard output that cannot be written is a failure, as du makes it.
checks=$((checks + 1))
"$scan" "$tree" >/dev/full 2>"$work/err"; status=$?
[ $status -eq 1 ] && grep -q "write error" "$work/err" || fail ">/dev/full: status $status, $(cat "$work/err")"
checks=$((checks + 1))
( trap '' PIPE; "$scan" --export - "$tree" 2>"$work/err" | head -c 1 >/dev/null; echo "${PIPESTATUS[0]}" >"$work/status" )
[ "$(cat "$work/status")" = 1 ] && grep -q "write error\|cannot write -" "$work/err" ||
  fail "a closed pipe with SIGPIPE ignored: status $(cat "$work/status"), $(cat "$work/err")"

# Outputs are replaced whole: a failed run leaves the old file, and no
# temporary file behind.
checks=$((checks + 1))
echo old >"$work/keep.dot"
"$scan" --dot "$work/keep.dot" --png "$work/missing/x.png" "$tree" >/dev/null 2>&1
[ "$(cat "$work/keep.dot")" = old ] && [ -z "$(ls -A "$work" | grep '^\.keep')" ] ||
  fail "a failed run touched keep.dot or left $(ls -A "$work")"
checks=$((checks + 1))
"$scan" --dot "$work/keep.dot" "$tree" >/dev/null 2>&1
grep -q '^digraph' "$work/keep.dot" && [ -z "$(ls -A "$work" | grep '^\.keep')" ] ||
  fail "a successful run did not replace keep.dot cleanly: $(ls -A "$work")"
# Interrupted while its outputs are being written: the export goes to a
# pipe nobody reads, so the scan waits there, with the Graphviz file made
# under its temporary name; the interruption must remove it.
checks=$((checks + 1))
# Nobody reads: the reader holds no output of this script, or the run
# would wait for it.
"$scan" --dot "$work/int.dot" --export - "$tree" > >(exec sleep 10 >/dev/null 2>&1) 2>/dev/null &
pid=$!
for _ in $(seq 50); do [ -n "$(ls -A "$work" | grep '^\.int')" ] && break; sleep 0.1; done
sleep 0.3
kill -TERM $pid 2>/dev/null
wait $pid
[ ! -e "$work/int.dot" ] && [ -z "$(ls -A "$work" | grep '^\.int')" ] ||
  fail "an interrupted run left $(ls -A "$work")"
# A headless picture: no Qt noise without a session.
checks=$((checks + 1))
env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY "$scan" --png "$work/map.png" "$tree" >/dev/null 2>"$work/err"
[ $? -eq 0 ] && [ ! -s "$work/err" ] || fail "--png wrote on stderr: $(cat "$work/err")"

echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
