// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSavedScanStream.h"

#include <new>
#include <optional>

#include "TMBinaryExportFormat.h"
#include "TMBinaryExportReader.h"
#include "TMImportTarget.h"
#include "TMLazyTreeLoader.h"
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

// Whether `input` is a binary export in a regular file, which is read a
// folder at a time instead of whole.
bool readsByFolders(const TMInputFile& input) {
  const int first = std::getc(input.stream());
  if (first == EOF) return false;
  std::ungetc(first, input.stream());
  return first == uint8_t(kBinaryExportSignature[0]) && input.seekableStart().has_value();
}

// Reads the binary export in `input` a folder at a time, the largest first,
// up to `handlers.entriesAtOnce` entries; the rest when they are looked into.
TMImportResult readByFolders(const TMInputFile& input, TMSavedScanStreamHandlers& handlers, TMMainQueue& mainQueue,
                             const std::weak_ptr<TMScanTask>& weakTask, const std::stop_token& stop) {
  std::string error;
  const auto [descriptor, start] = *input.seekableStart();
  auto reader = TMBinaryExportReader::openDescriptor(descriptor, start, error);
  if (!reader) return TMImportError{0, 0, error, {}};
  auto loader = std::make_shared<TMLazyTreeLoader>(std::move(reader));
  if (auto failure = loader->begin()) return TMImportError{0, 0, *failure, {}};
  mainQueue.post([weakTask, rootKnown = handlers.rootKnown, root = loader->root(), scan = loader->scan()] {
    const std::shared_ptr<TMScanTask> task = weakTask.lock();
    if (task && !task->stopRequested() && rootKnown) rootKnown(root, scan);
  });
  if (auto failure = loader->readLargest(handlers.entriesAtOnce, stop, handlers.progress.get()))
    return TMImportError{0, 0, *failure, {}};
  if (stop.stop_requested()) return TMImportError{0, 0, "stopped", {}};
  TMImportedScan scan = loader->scan();
  scan.root = loader->root();
  scan.unreadFolders = loader->unreadFolders();
  if (!loader->isWhole()) scan.loader = std::move(loader);
  return scan;
}

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
    if (readsByFolders(*input.file)) return readByFolders(*input.file, handlers, mainQueue, weakTask, stop);
    error = importInto(input.file->stream(), target, stop, input.file.get());
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
