// SPDX-License-Identifier: GPL-3.0-or-later
// The one entry point through which the rest of Tilemora scans: decides
// between a volume and a folder root, hands the caller the empty root at
// once, and runs the whole scan on a thread of its own.

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "TMScanDriver.h"

#include "TMExclusions.h"
#include "TMScanTask.h"
#include "TMScanningContext.h"
#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMVolume.h"
#include "core/platform/TMMountTable.h"
#include "core/platform/TMThread.h"

namespace tilemora {

namespace {

// The exclusions a scan starting now uses: the virtual file systems' devices
// are those mounted now. None when they exclude nothing.
std::shared_ptr<const TMExclusions> withVirtualDevices(const std::shared_ptr<const TMExclusions>& exclusions,
                                                       const TMFileSystem& fileSystem) {
  if (!exclusions || exclusions->isEmpty()) return nullptr;
  if (!exclusions->skipsVirtualFileSystems()) return exclusions;
  auto measured = std::make_shared<TMExclusions>(*exclusions);
  measured->setVirtualDevices(TMMountTable::virtualDevices(fileSystem.mountTable()));
  return measured;
}

}  // namespace

bool isVolume(const TMFileURL& url, const TMFileSystem& fileSystem) {
  for (const std::string& mountPoint : fileSystem.mountedLocalVolumePaths()) {
    if (mountPoint == url.path()) return true;
  }
  return url.path() == "/";
}

bool isAcceptableURL(const TMFileURL& url, const TMFileSystem& fileSystem) {
  struct stat info {};
  return fileSystem.statPath(url.path().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> reasonNotScannable(const TMFileURL& url, const TMFileSystem& fileSystem) {
  struct stat info {};
  if (fileSystem.statPath(url.path().c_str(), &info) != 0) return std::string(std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) return std::string("Not a folder");
  const int directory = fileSystem.openDirectory(url.path().c_str());
  if (directory < 0) return std::string(std::strerror(errno));
  fileSystem.closeDirectory(directory);
  return std::nullopt;
}

std::shared_ptr<TMFileTree> createFromPath(const TMFileURL& path, std::shared_ptr<TMProgressNotifiable> updateReceiver,
                                           std::function<void()> endNotifier, const TMScanEnvironment& environment,
                                           std::shared_ptr<TMScanTask>& scanTask) {
  auto storage = std::make_shared<TMFileTreeStorage>();
  TMVolume* volume = nullptr;
  TMFolderTree* folder = nullptr;
  if (isVolume(path, *environment.fileSystem)) {
    storage->root = volume = TMFileTree::create<TMVolume>(storage->arena, path.lastPathComponent());
  } else {
    storage->root = folder = TMFileTree::create<TMFolderTree>(storage->arena, path.lastPathComponent());
  }
  auto task = std::shared_ptr<TMScanTask>(new TMScanTask);
  task->storage_ = storage;
  scanTask = task;
  TMScanEnvironment scanned = environment;
  scanned.options.exclusions = withVirtualDevices(environment.options.exclusions, *environment.fileSystem);
  std::shared_ptr<TMFileTree> root(storage, storage->root);

  // The task owns the thread and waits for it before it goes: the thread
  // may use it freely, but holds only a weak reference for the end notice,
  // so that nothing but its owners keeps it.
  auto scan = [storage, updateReceiver, endNotifier, environment = std::move(scanned), task = task.get(),
               weakTask = std::weak_ptr<TMScanTask>(task), path, volume, folder]() mutable {
    {
      TMScanningContext_t context;
      context.updateReceiver = updateReceiver.get();
      context.observer = environment.observer.get();
      context.options = environment.options;
      context.fileSystem = environment.fileSystem.get();
      context.arena = &storage->arena;
      context.recycler = &storage->recycler;
      context.stopRequested = &task->stopRequested_;
      context.rootPath = path.path();
      if (volume != nullptr) {
        volume->initWithFilePath(path, &context);
      } else {
        folder->initWithFilePath(path, &context);
      }
      storage->recycler.reclaimIfUnread();
      task->unreadableFolderCount_ = context.unreadableFolderCount;
      task->cutShortFolderCount_ = context.cutShortFolderCount;
      task->excludedCount_ = context.excludedCount;
      task->unreadableFolders_ = std::move(context.unreadableFolders);
      task->rootIdentity_ = context.rootIdentity;
    }
    // Give up the tree and the receiver before the end is announced, so that
    // a stopped scan's tree goes away as soon as its owner lets go of it.
    updateReceiver.reset();
    storage.reset();
    if (environment.mainQueue) {
      environment.mainQueue->post([weakTask, notifier = std::move(endNotifier)] {
        // A task let go of by its owner is a scan nobody waits for.
        const std::shared_ptr<TMScanTask> owned = weakTask.lock();
        if (owned && !owned->stopRequested() && notifier) notifier();
      });
    }
    endNotifier = nullptr;
    environment = {};
    task->markFinished();
  };
  task->thread_ = TMThread(std::move(scan));
  if (!task->thread_.started()) {
    // No thread to be had: the tree stays empty, and the end is still told.
    if (environment.mainQueue && endNotifier) environment.mainQueue->post(endNotifier);
    task->markFinished();
  }
  return root;
}

}  // namespace tilemora
