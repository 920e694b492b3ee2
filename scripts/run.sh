#!/usr/bin/env bash
# Installs what is needed, builds Tilemora optimised and scans a folder
# (your home folder when none is given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build build/release -j "$(nproc)"
exec build/release/src/cli/tilemora-scan "${@:-$HOME}"
