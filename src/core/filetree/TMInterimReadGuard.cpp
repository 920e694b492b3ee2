// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMInterimReadGuard.h"

namespace tilemora {

std::atomic<int>& TMInterimReadGuard::activeReaders() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace tilemora
