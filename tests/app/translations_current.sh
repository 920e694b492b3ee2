#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every text the window translates is in the German and French files: lupdate,
# run on copies of them, finds nothing new to translate and nothing gone.
# (The window's own translation test reads the files, so it cannot see a
# text that was never added to them.)
set -u
lupdate=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
for language in de fr; do
  cp "$source_dir/translations/tilemora_$language.ts" "$work/"
  (cd "$source_dir" && "$lupdate" -silent -no-obsolete -locations none src/app -ts "$work/tilemora_$language.ts") ||
    { echo "FAIL: lupdate"; exit 1; }
  if ! cmp -s "$source_dir/translations/tilemora_$language.ts" "$work/tilemora_$language.ts"; then
    echo "FAIL: tilemora_$language.ts is not up to date with src/app:"
    diff "$source_dir/translations/tilemora_$language.ts" "$work/tilemora_$language.ts" | grep '^[<>] *<source>' | head -20
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ] && echo "both translations hold every text"
[ $failures -eq 0 ]
