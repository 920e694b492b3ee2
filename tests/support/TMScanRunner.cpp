// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scan/TMScanDriver.h"
#include "TMScanRunner.h"

#include <filesystem>
#include <stdexcept>
#include <thread>

namespace tilemora::test {

void TMCountingReceiver::notifyFileScanned() {
  count_.fetch_add(1);
  if (!onNotice) return;
  const TMFileTree* handedOut = root.load();
  while (waitForRoot && handedOut == nullptr) {
    std::this_thread::yield();
    handedOut = root.load();
  }
  onNotice(handedOut);
}

int openDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

TMFinishedScan scanToEnd(const std::string& path, std::shared_ptr<TMFileSystem> fileSystem,
                         std::function<void(const TMFileTree*)> onNotice, const TMScanOptions& options,
                         std::shared_ptr<TMScanObserver> observer) {
  TMFinishedScan scan;
  scan.receiver = std::make_shared<TMCountingReceiver>();
  scan.receiver->onNotice = std::move(onNotice);
  scan.receiver->waitForRoot = true;
  auto queue = std::make_shared<TMManualMainQueue>();
  TMScanEnvironment environment{queue, std::move(fileSystem)};
  environment.options = options;
  environment.observer = std::move(observer);
  std::shared_ptr<TMScanTask> task;
  scan.root = createFromPath(
      TMFileURL::fromPath(path), scan.receiver,
      [&scan] {
        ++scan.endNotices;
        scan.noticesAtEnd = scan.receiver->count();
      },
      environment, task);
  scan.receiver->root = scan.root.get();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
  while (scan.endNotices == 0) {
    if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("scan did not end");
    queue->runNextWithin(std::chrono::milliseconds(50));
  }
  task->waitUntilFinished();
  queue->runPending();
  scan.task = task;
  return scan;
}

}  // namespace tilemora::test
