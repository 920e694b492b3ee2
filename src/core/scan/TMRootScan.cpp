// SPDX-License-Identifier: GPL-3.0-or-later
// Where a scan starts: the root node's initWithFilePath opens the folder and
// chooses between one thread and several.

#include <sys/stat.h>

#include "TMFolderScan.h"
#include "TMParallelScan.h"
#include "TMScanningContext.h"
#include "TMSerialScan.h"
#include "core/filetree/TMVolume.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

void TMFolderTree::initWithFilePath(const TMFileURL& url, TMScanningContext_t* context) {
  const TMFileSystem& fileSystem = *context->fileSystem;
  TMScanObserver* observer = context->observer;
  struct stat info {};
  int directory = fileSystem.openDirectory(url.path().c_str());
  if (directory >= 0 && fileSystem.statOpen(directory, &info) != 0) {
    fileSystem.closeDirectory(directory);
    directory = -1;
  }
  if (directory < 0) {
    if (observer != nullptr) {
      info.st_mode = S_IFDIR;
      observer->folderEntered(url.path(), info);
      observer->folderLeft(true);
    }
    return;
  }
  context->rootIdentity = {info.st_dev, info.st_ino};
  // An observer that cannot follow several threads has the scan run on one.
  const bool observed = observer != nullptr;
  const unsigned threads = observed && !observer->followsThreads() ? 1 : context->options.threadCount();
  if (threads > 1) {
    std::shared_ptr<TMScanObserver::HandOff> start;
    if (observed) {
      observer->folderEntered(url.path(), info);
      start = observer->folderHandedOff();
    }
    TMParallelScan::scan(this, directory, info.st_dev, info.st_ino, threads, context, std::move(start));
    return;
  }
  TMSerialScan serial;
  TMOpenFolderChain openFolders(fileSystem);
  openFolders.enter(directory, info.st_dev, info.st_ino);
  context->strategy = &serial;
  context->openFolders = &openFolders;
  if (context->options.crossMountPoints) context->pathIdentities.assign({{info.st_dev, info.st_ino}});
  if (observer != nullptr) observer->folderEntered(url.path(), info);
  const bool wholeListing = TMFolderScan(*context).populateChildListAtUrl(*this, info.st_dev);
  serial.finish(*context);
  if (observer != nullptr) observer->folderLeft(!wholeListing);
  context->openFolders = nullptr;
  context->strategy = nullptr;
}

void TMVolume::initWithFilePath(const TMFileURL& url, TMScanningContext_t* context) {
  TMFolderTree* folder = measure(*context->arena, context->fileSystem->fileSystemSizes(url.path().c_str()));
  folder->initWithFilePath(url, context);
}

}  // namespace tilemora
