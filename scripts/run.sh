#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds Tilemora optimised and opens the desktop
# application on the folders given (your home folder when none is given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build build/release -j "$(nproc)"
if [ $# -eq 0 ]; then set -- "$HOME"; fi
exec build/release/src/app/tilemora "$@"
