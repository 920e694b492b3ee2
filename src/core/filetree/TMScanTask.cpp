#include "TMScanTask.h"

namespace tilemora {

bool TMScanTask::isFinished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

void TMScanTask::waitUntilFinished() const {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait(lock, [this] { return finished_; });
}

void TMScanTask::markFinished() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  finishedChanged_.notify_all();
}

}  // namespace tilemora
