// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tilemora {

// Receives a notice from the scan thread after every entry the scan accepts.
// Called synchronously on the scan thread: it must return quickly and post
// any display work to the main queue itself.
class TMProgressNotifiable {
 public:
  virtual ~TMProgressNotifiable() = default;
  virtual void notifyFileScanned() = 0;
};

}  // namespace tilemora
