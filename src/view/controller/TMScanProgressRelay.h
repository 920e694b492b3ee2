// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress receiver of one scan of a window. It counts notices on the
// scan thread and, at every 1000th, posts one progress step to the main
// queue, unless the previous step has not run yet: a fast scan cannot flood
// the queue and delay its own end. Steps and the end reach the controller
// only while it exists and this is still its current scan.

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/platform/TMMainQueue.h"
#include "core/scan/TMProgressNotifiable.h"

namespace tilemora {

class TMMainWindowController;

class TMScanProgressRelay : public TMProgressNotifiable,
                            public std::enable_shared_from_this<TMScanProgressRelay> {
 public:
  static constexpr uint64_t kNoticesPerStep = 1000;

  TMScanProgressRelay(std::weak_ptr<TMMainWindowController> controller,
                      std::shared_ptr<TMMainQueue> mainQueue)
      : controller_(std::move(controller)), mainQueue_(std::move(mainQueue)) {}

  // Scan thread.
  void notifyFileScanned() override;
  // Any of several scan threads.
  void notifyFilesScanned(uint32_t count) override;
  // The end notifier of the scan (main thread).
  void scanEnded();

  uint64_t count() const { return count_.load(std::memory_order_relaxed); }

 private:
  void postStep();
  void runStep();
  std::shared_ptr<TMMainWindowController> currentController() const;

  std::weak_ptr<TMMainWindowController> controller_;
  std::shared_ptr<TMMainQueue> mainQueue_;
  std::atomic<uint64_t> count_{0};
  std::atomic<bool> stepPending_{false};
};

}  // namespace tilemora
