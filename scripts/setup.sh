#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs everything Tilemora needs to build, run and test on Debian 12.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-urw-base35 fontconfig
  graphviz ncdu qdirstat time bc python3 pkexec
  appstream desktop-file-utils dpkg-dev file lintian
  rapidjson-dev libzstd-dev zlib1g-dev zstd
  gvfs libglib2.0-bin
  xvfb xauth x11-apps dbus-daemon
)
if [ "${1:-}" = "--with-screenshots" ]; then
  packages+=(imagemagick xdotool)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  # No recommends: they pull in other fonts, which would change text metrics.
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
