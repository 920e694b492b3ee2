// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanOptions.h"

#include <algorithm>
#include <thread>

namespace tilemora {

unsigned TMScanOptions::threadCount() const {
  const unsigned wanted =
      threads != 0 ? threads : std::clamp(std::thread::hardware_concurrency(), 1u, kMostAutomaticThreads);
  return std::min(wanted, kMostThreads);
}

}  // namespace tilemora
