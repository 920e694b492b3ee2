// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSavedScanStream.h"

#include <new>
#include <optional>

#include "TMImportTarget.h"
#include "TMLiveTreeBuilder.h"
#include "core/platform/TMHeapTrim.h"
#include "core/platform/TMInputFile.h"
#include "core/platform/TMMainQueue.h"
#include "core/scan/TMScanTask.h"

namespace tilemora {

TMSavedScanOpener savedScanFileAt(std::string path) {
  return [path = std::move(path)](std::string& error, std::stop_token stop) {
    return TMSavedScanInput{TMInputFile::open(path, error, std::move(stop)), {}};
  };
}

namespace {

// Reads into a live tree; answers the scan, or why it could not be read.
TMImportResult readLive(const TMSavedScanOpener& open, TMSavedScanStreamHandlers& handlers, TMMainQueue& mainQueue,
                        const std::weak_ptr<TMScanTask>& weakTask, const std::stop_token& stop) {
  std::string openError;
  TMSavedScanInput input = open(openError, stop);
  if (!input.file) return TMImportError{0, 0, openError, {}};
  uint64_t total = 0;
  uint64_t lengths = 0;
  std::optional<TMLiveTreeBuilder> builder;
  TMImportTarget target(total, lengths, [&](const TMImportedScan& scan) -> TMTreeSink& {
    builder.emplace(scan.rootComponents.back(), handlers.progress.get());
    mainQueue.post([weakTask, rootKnown = handlers.rootKnown, root = builder->root(), scan = scan] {
      const std::shared_ptr<TMScanTask> task = weakTask.lock();
      if (task && !task->stopRequested() && rootKnown) rootKnown(root, scan);
    });
    return *builder;
  });
  std::optional<TMImportError> error;
  try {
    error = importInto(input.file->stream(), target, stop);
  } catch (const std::bad_alloc&) {
    error = TMImportError{0, 0, TMImportTarget::kTooLarge, {}};
  }
  // Closed first: a helper still writing ends on it.
  input.file.reset();
  if (input.ended && !stop.stop_requested()) {
    if (std::optional<std::string> why = input.ended(!error)) error = TMImportError{0, 0, *why, {}};
  }
  // Sorted only when whole: a tree cut short is not shown as complete.
  if (builder) builder->finish(error.has_value());
  if (error) return std::move(*error);
  TMImportedScan scan = target.finish();
  scan.root = builder->root();
  return scan;
}

}  // namespace

std::shared_ptr<TMScanTask> streamSavedScan(TMSavedScanOpener open, TMSavedScanStreamHandlers handlers,
                                            std::shared_ptr<TMMainQueue> mainQueue) {
  return TMScanTask::run([open = std::move(open), handlers = std::move(handlers), mainQueue](
                             TMScanTask& task, const std::weak_ptr<TMScanTask>& handle) mutable {
        auto result = std::make_shared<TMImportResult>(readLive(open, handlers, *mainQueue, handle, task.stopToken()));
        // The progress receiver goes before the end is told, as a scan's does.
        handlers.progress.reset();
        releaseFreedHeapMemory();
        if (task.stopRequested()) return;
        mainQueue->post([weak = handle, ended = std::move(handlers.ended), result] {
          const std::shared_ptr<TMScanTask> owned = weak.lock();
          if (owned && !owned->stopRequested() && ended) ended(std::move(*result));
        });
      });
}

}  // namespace tilemora
