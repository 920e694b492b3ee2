#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds Tilemora three times and runs every test:
#   - AddressSanitizer + UndefinedBehaviorSanitizer build: all tests;
#   - ThreadSanitizer build: the concurrency tests, and the tests where
#     scans run against a window controller or the scan driver;
#   - release build: the Debian package, unpacked and checked.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export CCACHE_BASEDIR=$PWD
build_options=()
command -v ccache >/dev/null && build_options=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Each build compiles its sources a few at a time in one unit: less than
# half the time on two cores, with the same tests passing.
build_options+=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8)
jobs=$(nproc)

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTILEMORA_SANITIZER=address "${build_options[@]}"
cmake --build build/asan -j "$jobs"

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTILEMORA_SANITIZER=thread \
  -DTILEMORA_BUILD_BENCH=OFF "${build_options[@]}"
cmake --build build/tsan -j "$jobs" --target tilemora_concurrency_tests tilemora_core_tests

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

echo "== ThreadSanitizer: concurrency tests"
ctest --test-dir build/tsan -L concurrency --output-on-failure
echo "== ThreadSanitizer: scans driven by the window controller and the scan driver, saved scans read as they arrive or a folder at a time"
build/tsan/tests/tilemora_core_tests --gtest_brief=1 \
  --gtest_filter='*MainWindowController*:*ProgressSteps*:TMScanDriver.*:*TMScanDriverStop*:TMVolume.*:*TMDeepChain*:*SavedScanStream*:*TMLazyTreeLoader*:*TMSessionReadByFolders*:*TMAdministratorScan*:*TMFollowChanges*:*TMWatchTable*-*45000Levels*' </dev/null
echo "== AddressSanitizer + UndefinedBehaviorSanitizer: all tests"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== The Debian package, built as a release and unpacked"
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILEMORA_BUILD_TESTS=OFF \
  -DTILEMORA_BUILD_BENCH=OFF "${build_options[@]}"
cmake --build build/package -j "$jobs"
rm -f build/package/tilemora_*.deb
(cd build/package && cpack -G DEB >/dev/null)
bash tests/package/check_deb.sh build/package/tilemora_*.deb
