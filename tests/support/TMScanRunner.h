// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a scan to its end the way the application does (scan thread, end
// notice on a main queue) and keeps what a test wants to look at.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/filetree/TMFileTree.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMProgressNotifiable.h"
#include "core/scan/TMScanOptions.h"
#include "core/scan/TMScanTask.h"

namespace tilemora::test {

// Counts notices and can run a check on the scan thread after each one.
class TMCountingReceiver : public TMProgressNotifiable {
 public:
  void notifyFileScanned() override;
  uint64_t count() const { return count_.load(); }
  // Runs on the scan thread after each notice, with the root once the
  // driver has handed it out (null before).
  std::function<void(const TMFileTree* root)> onNotice;
  std::atomic<const TMFileTree*> root{nullptr};
  // The root is stored just after the scan has started: when set, each
  // notice waits for it, so that even a scan faster than that sees it.
  bool waitForRoot = false;

 private:
  std::atomic<uint64_t> count_{0};
};

struct TMFinishedScan {
  std::shared_ptr<TMFileTree> root;
  std::shared_ptr<TMCountingReceiver> receiver;
  int endNotices = 0;
  uint64_t noticesAtEnd = 0;  // notices counted when the end notifier ran
  std::shared_ptr<TMScanTask> task;  // what the scan reported
};

// How many files the process has open now (folders being scanned among them).
int openDescriptorCount();

// Scans `path` and serves the main queue until the end notice has run.
TMFinishedScan scanToEnd(const std::string& path,
                         std::shared_ptr<TMFileSystem> fileSystem = TMFileSystem::posix(),
                         std::function<void(const TMFileTree*)> onNotice = nullptr,
                         const TMScanOptions& options = {}, std::shared_ptr<TMScanObserver> observer = nullptr);

}  // namespace tilemora::test
