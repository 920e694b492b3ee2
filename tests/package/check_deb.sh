#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user's machine would unpack it: every file where a
# desktop looks for it, computed dependencies, programs that run, and the
# desktop entry and AppStream metadata accepted by their validators.
#   check_deb.sh tilemora_VERSION_ARCH.deb
set -u
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x $deb"; exit 1; }
while read -r file; do
  checks=$((checks + 1))
  [ -s "$root/usr/$file" ] || fail "missing /usr/$file"
done <<'FILES'
bin/tilemora
bin/tilemora-scan
share/applications/tilemora.desktop
share/icons/hicolor/scalable/apps/tilemora.svg
share/metainfo/io.github.tilemora.Tilemora.metainfo.xml
share/polkit-1/actions/io.github.tilemora.Tilemora.scan.policy
share/man/man1/tilemora.1.gz
share/man/man1/tilemora-scan.1.gz
share/doc/tilemora/copyright
share/doc/tilemora/changelog.Debian.gz
FILES

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libqt6gui6 qt6-qpa-plugins qt6-translations-l10n pkexec; do
  checks=$((checks + 1))
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

checks=$((checks + 1))
"$root/usr/bin/tilemora-scan" --version | grep -q "^tilemora-scan $(dpkg-deb -f "$deb" Version | cut -d- -f1) " ||
  fail "the packaged tilemora-scan does not run or tells another version"
checks=$((checks + 1))
"$root/usr/bin/tilemora-scan" --bytes "$root/usr/share" | grep -q '^Total: [1-9]' || fail "the packaged tilemora-scan cannot scan"
checks=$((checks + 1))
man -l "$root/usr/share/man/man1/tilemora-scan.1.gz" 2>/dev/null | grep -q -- '--export' ||
  fail "the manual page does not document --export"

if command -v desktop-file-validate >/dev/null; then
  checks=$((checks + 1))
  out=$(desktop-file-validate "$root/usr/share/applications/tilemora.desktop" 2>&1)
  [ -z "$out" ] || fail "desktop-file-validate: $out"
else
  echo "SKIP: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
  checks=$((checks + 1))
  appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.tilemora.Tilemora.metainfo.xml" >/dev/null 2>&1 ||
    fail "appstreamcli: $(appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.tilemora.Tilemora.metainfo.xml" 2>&1)"
else
  echo "SKIP: appstreamcli is not installed"
fi

# Debian's package checker: no error and no warning. The informational
# tags left are named in the README's packaging notes.
if command -v lintian >/dev/null; then
  checks=$((checks + 1))
  tags=$(lintian --no-cfg --fail-on none "$deb" 2>/dev/null | grep -E '^[EW]: ')
  [ -z "$tags" ] || fail "lintian: $tags"
else
  echo "SKIP: lintian is not installed"
fi

echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
