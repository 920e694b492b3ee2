// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanProgressRelay.h"

#include "view/controller/TMMainWindowController.h"

namespace tilemora {

void TMScanProgressRelay::notifyFileScanned() {
  // One scan thread counts, so a load and a store are enough.
  const uint64_t count = count_.load(std::memory_order_relaxed) + 1;
  count_.store(count, std::memory_order_relaxed);
  if (count % kNoticesPerStep == 0) postStep();
}

void TMScanProgressRelay::notifyFilesScanned(uint32_t added) {
  const uint64_t before = count_.fetch_add(added, std::memory_order_relaxed);
  // A step whenever the count passes a multiple of kNoticesPerStep.
  if (before / kNoticesPerStep != (before + added) / kNoticesPerStep) postStep();
}

void TMScanProgressRelay::postStep() {
  if (stepPending_.exchange(true, std::memory_order_acq_rel)) return;  // one is still waiting
  mainQueue_->post([relay = shared_from_this()] { relay->runStep(); });
}

void TMScanProgressRelay::runStep() {
  if (auto controller = currentController()) controller->updateView();
  stepPending_.store(false, std::memory_order_release);
}

void TMScanProgressRelay::scanEnded() {
  if (auto controller = currentController()) controller->commitTree();
}

std::shared_ptr<TMMainWindowController> TMScanProgressRelay::currentController() const {
  auto controller = controller_.lock();
  if (controller && controller->relay_.get() == this) return controller;
  return nullptr;
}

}  // namespace tilemora
