// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tilemora {

// Receives a notice from the scan thread after every entry the scan accepts.
// Called synchronously on the scan thread: it must return quickly and post
// any display work to the main queue itself.
class TMProgressNotifiable {
 public:
  virtual ~TMProgressNotifiable() = default;
  virtual void notifyFileScanned() = 0;
  // When several threads scan, each tells `count` entries at a time, and
  // the threads may call at once. Unless overridden, `count` notices.
  virtual void notifyFilesScanned(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) notifyFileScanned();
  }
};

}  // namespace tilemora
