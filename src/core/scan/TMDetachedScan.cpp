// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMDetachedScan.h"

#include "TMExclusions.h"
#include "TMScanningContext.h"
#include "core/filetree/TMChildListRecycler.h"
#include "core/filetree/TMFolderTree.h"

namespace tilemora {

TMDetachedScan scanDetachedFolder(const TMFileURL& url, std::string startPath, TMNodeArena& arena,
                                  const TMScanEnvironment& environment, const std::atomic<bool>* stop) {
  TMDetachedScan scanned;
  // Nobody reads the new folder while it is scanned: the lists it replaces
  // can go at the end.
  TMChildListRecycler recycler;
  auto* folder = TMFileTree::create<TMFolderTree>(arena, url.lastPathComponent());
  TMScanningContext_t context;
  context.options = environment.options;
  if (const auto& exclusions = environment.options.exclusions; exclusions && exclusions->needsPaths())
    context.options.exclusions = std::make_shared<TMExclusions>(exclusions->startingAt(std::move(startPath)));
  context.fileSystem = environment.fileSystem.get();
  context.arena = &arena;
  context.recycler = &recycler;
  context.stopRequested = stop;
  context.rootPath = url.path();
  folder->initWithFilePath(url, &context);
  recycler.reclaimIfUnread();
  // A path that is no folder (any more) leaves the node unopened.
  if (context.rootIdentity.device == 0 && context.rootIdentity.inode == 0) return scanned;
  scanned.folder = folder;
  scanned.unreadableFolderCount = context.unreadableFolderCount;
  scanned.unreadableFolders = std::move(context.unreadableFolders);
  scanned.excludedCount = context.excludedCount;
  return scanned;
}

}  // namespace tilemora
