// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMGlobalQueues.h"

namespace tilemora {

TMGlobalQueues& TMGlobalQueues::sharedQueues() {
  // Created once even if two threads ask first (static initialisation is
  // guarded), and never destroyed.
  static TMGlobalQueues* instance = new TMGlobalQueues;
  return *instance;
}

std::optional<TMFileURL> TMGlobalQueues::getFileFromQueue() {
  std::optional<TMFileURL> taken = std::move(enqueuedObject);
  enqueuedObject.reset();
  return taken;
}

}  // namespace tilemora
