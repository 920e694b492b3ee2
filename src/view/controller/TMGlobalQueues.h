// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one-slot hand-over of a folder to the next main window: the delegate
// puts the folder in, the new window takes it out while it is being set up.

#include <optional>

#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMGlobalQueues {
 public:
  // The process-wide instance, created on first use and never destroyed.
  static TMGlobalQueues& sharedQueues();

  // Replaces what the slot holds; an earlier folder not yet taken is dropped.
  void addFileToQueue(const TMFileURL& url) { enqueuedObject = url; }
  // Empties the slot and answers what it held.
  std::optional<TMFileURL> getFileFromQueue();

  TMGlobalQueues(const TMGlobalQueues&) = delete;
  TMGlobalQueues& operator=(const TMGlobalQueues&) = delete;

 private:
  TMGlobalQueues() = default;
  std::optional<TMFileURL> enqueuedObject;
};

}  // namespace tilemora
