// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderScan.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "TMScanBranch.h"
#include "TMScanStrategy.h"
#include "TMScanningContext.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMNodeArena.h"
#include "core/platform/TMDirectoryRecords.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

namespace {

constexpr size_t kListingBufferBytes = 32 * 1024;

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The position after the last record of a chunk getdents64 filled.
int64_t positionAfter(const char* chunk, long bytes) {
  int64_t position = 0;
  forEachDirectoryRecord(chunk, bytes, [&](const TMDirectoryRecord& record) { position = record.d_off; });
  return position;
}

}  // namespace

TMFolderScan::TMFolderScan(TMScanningContext_t& context) : context_(context), strategy_(*context.strategy) {}

bool TMFolderScan::populateChildListAtUrl(TMFolderTree& folder, dev_t device) {
  const uint64_t handOffsBefore = context_.handOffs;
  const bool wholeListing = createFileListAtUrl(folder, device);
  if (context_.handOffs == handOffsBefore) {
    finishChildList(folder, context_);
  } else {
    // Sizes below are not final until the sub-folders handed off are listed.
    strategy_.sortWhenHandedOffListed(folder);
  }
  return wholeListing;
}

void TMFolderScan::finishChildList(TMFolderTree& folder, TMScanningContext_t& context) {
  folder.finishChildList(*context.arena, *context.recycler,
                         context.shouldStop() ? TMChildOrder::kListing : TMChildOrder::kLargestFirst,
                         context.sortScratch);
}

bool TMFolderScan::createFileListAtUrl(TMFolderTree& folder, dev_t device) {
  const size_t level = size_t(context_.parentCount);
  TMOpenFolderChain& openFolders = *context_.openFolders;
  TMListingStack& listing = context_.listing;
  const size_t chunk = listing.top();
  bool denied = false;
  const TMExclusions* exclusions = context_.options.exclusions.get();
  const std::string folderPath = exclusions && exclusions->needsPaths() ? pathBelowStart(folder) : std::string();
  for (;;) {
    const int directory = openFolders.descriptor(level);
    if (directory < 0) {
      denied = true;  // moved or removed while a folder below it was listed
      break;
    }
    char* buffer = listing.reserve(kListingBufferBytes);
    long bytes = context_.fileSystem->readEntries(directory, buffer, kListingBufferBytes);
    if (bytes <= 0) break;  // the end, or a folder that stopped being readable
    openFolders.setResumeOffset(level, positionAfter(buffer, bytes));
    listing.push(size_t(bytes));
    // Deeper levels push their chunks above this one and pop them before
    // returning, but may move the stack: entries are found by offset.
    for (size_t offset = chunk; offset < listing.top() && openFolders.descriptor(level) >= 0;) {
      const TMDirectoryRecord* entry = &directoryRecordAt(listing.at(offset));
      offset += entry->d_reclen;
      if (context_.shouldStop()) {
        listing.popTo(chunk);
        folder.markCutShort();
        ++context_.cutShortFolderCount;
        return true;
      }
      if (!isDotOrDotDot(entry->d_name) &&
          !acceptEntry(folder, level, device, entry->d_name, entry->d_type, folderPath))
        denied = true;
    }
    listing.popTo(chunk);
  }
  // Listed but not entered: what it holds is there, yet not measured.
  if (denied) {
    folder.markUnreadable(EACCES);
    noteUnreadable(folder, nullptr, EACCES);
  }
  return !denied;
}

std::vector<TMFolderTree*> TMFolderScan::foldersAbove() const {
  // The folders above this walk's start come first.
  std::vector<TMFolderTree*> above;
  if (context_.branch != nullptr) above = context_.branch->pathAbove();
  const auto& stack = context_.parentStack;
  above.insert(above.end(), stack.begin(), stack.begin() + context_.parentCount);
  return above;
}

std::string TMFolderScan::pathBelowStart(const TMFolderTree& folder) const {
  const std::vector<TMFolderTree*> above = foldersAbove();
  std::string path;
  for (size_t i = 1; i < above.size(); ++i) (path += path.empty() ? "" : "/").append(above[i]->filename());
  if (!above.empty()) (path += path.empty() ? "" : "/").append(folder.filename());
  return path;
}

void TMFolderScan::exclude(const char* name, TMExclusions::Reason reason) {
  ++context_.excludedCount;
  if (context_.observer != nullptr) context_.observer->entryExcluded(name, TMExclusions::exportWord(reason));
}

void TMFolderScan::noteUnreadable(const TMFolderTree& folder, const char* name, int error) {
  ++context_.unreadableFolderCount;
  // Its path, from the folders above it: memory only for folders that could
  // not be read.
  const std::vector<TMFolderTree*> above = foldersAbove();
  std::string path = context_.rootPath == "/" ? std::string() : context_.rootPath;
  for (size_t i = 1; i < above.size(); ++i) (path += '/').append(above[i]->filename());
  if (!above.empty()) (path += '/').append(folder.filename());
  if (name != nullptr) (path += '/').append(name);
  for (const TMFolderTree* folderAbove : above) folderAbove->markUnreadableBelow();
  if (name != nullptr) folder.markUnreadableBelow();
  context_.unreadableFolders.push_back({path.empty() ? std::string("/") : path, error});
}

bool TMFolderScan::isTaggedCache(int directory, const char* name) const {
  // The tag lies inside the folder: read through the folder's path, which
  // costs no descriptor of the chain.
  std::string tag = name;
  tag += "/CACHEDIR.TAG";
  char start[TMExclusions::kCacheSignature.size()];
  const long bytes = context_.fileSystem->readFileStartAt(directory, tag.c_str(), start, sizeof start);
  return bytes > 0 && TMExclusions::isCacheTag(std::string_view(start, size_t(bytes)));
}

bool TMFolderScan::mountsAnAncestor(const struct stat& info) const {
  if (!S_ISDIR(info.st_mode)) return false;
  const auto& identities = context_.pathIdentities;
  const std::pair identity{info.st_dev, info.st_ino};
  return std::find(identities.begin(), identities.end(), identity) != identities.end() ||
         (context_.branch != nullptr && context_.branch->hasIdentityAbove(identity));
}

bool TMFolderScan::acceptEntry(TMFolderTree& folder, size_t level, dev_t device, const char* name,
                               unsigned char type, std::string_view folderPath) {
  if (type == DT_LNK) return true;
  const TMExclusions* exclusions = context_.options.exclusions.get();
  if (exclusions != nullptr && exclusions->matches(name, folderPath)) {
    exclude(name, TMExclusions::Reason::kPattern);
    return true;
  }
  TMScanObserver* observer = context_.observer;
  struct stat info {};
  bool examined = true;
  bool mountRoot = false;
  const bool statted = context_.fileSystem->statAt(context_.openFolders->descriptor(level), name, &info, &mountRoot) == 0;
  if (!statted) {
    // Gone or not to be examined since the listing: no size, and the kind
    // the listing gave (a folder stays a folder, which then cannot be
    // opened either and is reported).
    examined = errno != EACCES;
    if (!examined && observer != nullptr) observer->folderDenied();
    std::memset(&info, 0, sizeof info);
    info.st_mode = type == DT_DIR ? S_IFDIR : S_IFREG;
    info.st_dev = device;
  }
  // The mount point of another volume, or of a bind mount of this one;
  // entered like any folder when mount points are to be crossed, unless it
  // mounts a folder of the path that leads to it.
  if ((info.st_dev != device || mountRoot) && (!context_.options.crossMountPoints || mountsAnAncestor(info))) {
    if (observer != nullptr) observer->mountPointSkipped(name, info);
    return true;
  }
  if (exclusions != nullptr && info.st_dev != device && exclusions->isVirtualDevice(info.st_dev)) {
    exclude(name, TMExclusions::Reason::kVirtualFileSystem);
    return true;
  }
  if (S_ISLNK(info.st_mode)) return true;

  if (S_ISDIR(info.st_mode)) {
    // A cache is left before anyone is told of it as a folder.
    if (exclusions != nullptr && exclusions->excludesCaches() &&
        isTaggedCache(context_.openFolders->descriptor(level), name)) {
      exclude(name, TMExclusions::Reason::kCache);
      return true;
    }
    if (observer != nullptr) observer->folderEntered(name, info);
    scanSubFolder(folder, level, name, info.st_dev, info.st_ino);
  } else {
    if (observer != nullptr) observer->fileFound(name, info);
    uint64_t size = uint64_t(info.st_blocks) * 512;
    uint64_t length = uint64_t(std::max<off_t>(info.st_size, 0));
    // Another link to a file already counted: there, and of no size here.
    if (context_.options.hardLinksOnce && info.st_nlink > 1 && !strategy_.isFirstLink(info.st_dev, info.st_ino))
      size = length = 0;
    auto* file = TMFileTree::create<TMFileTree>(*context_.arena, name, size);
    file->setAlternateSize(length);
    if (statted) file->setModifiedTime(info.st_mtim.tv_sec);
    folder.appendChild(file, *context_.arena, *context_.recycler);
    strategy_.addToSizesAbove(folder, size, context_);
  }
  strategy_.entryAccepted(context_);
  return examined;
}

void TMFolderScan::scanSubFolder(TMFolderTree& parent, size_t level, const char* name, dev_t device,
                                 ino_t inode) {
  TMOpenFolderChain& openFolders = *context_.openFolders;
  const TMFileSystem& fileSystem = *context_.fileSystem;
  auto* folder = TMFileTree::create<TMFolderTree>(*context_.arena, name);
  parent.appendChild(folder, *context_.arena, *context_.recycler);

  auto& stack = context_.parentStack;
  if (stack.size() <= size_t(context_.parentCount)) stack.resize(size_t(context_.parentCount) + 1);
  stack[size_t(context_.parentCount)] = &parent;
  strategy_.settleSizesAbove(context_);  // the folders above change
  ++context_.parentCount;

  const int subDirectory = fileSystem.openDirectoryAt(openFolders.descriptor(level), name);
  if (subDirectory < 0) {
    const int error = errno;
    --context_.parentCount;
    folder->markUnreadable(error);
    noteUnreadable(parent, folder->filenameCString(), error);
    if (context_.observer != nullptr) context_.observer->folderLeft(true);
    return;
  }
  // Identified by what was opened when the entry's own stat was refused.
  struct stat opened {};
  if (inode == 0 && fileSystem.statOpen(subDirectory, &opened) == 0) inode = opened.st_ino;
  if (strategy_.handOff(folder, subDirectory, device, inode, context_)) {
    ++context_.handOffs;
    --context_.parentCount;  // listed by another thread
    return;
  }
  openFolders.enter(subDirectory, device, inode);
  const bool crossing = context_.options.crossMountPoints;
  if (crossing) context_.pathIdentities.emplace_back(device, inode);
  const bool wholeListing = populateChildListAtUrl(*folder, device);
  if (crossing) context_.pathIdentities.pop_back();
  // A level above that cannot be opened again is seen by its own listing.
  openFolders.leave(stack);
  strategy_.settleSizesAbove(context_);  // back up a level
  --context_.parentCount;
  if (context_.observer != nullptr) context_.observer->folderLeft(!wholeListing);
}

}  // namespace tilemora
