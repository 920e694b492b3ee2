// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderTree.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "TMChildListRecycler.h"
#include "TMNodeArena.h"
#include "TMParallelScan.h"
#include "core/platform/TMDirectoryRecords.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

namespace {

constexpr size_t kListingBufferBytes = 32 * 1024;
constexpr uint32_t kFirstListCapacity = 16;
// Folders up to this many children sort copies of their sizes.
constexpr size_t kMostChildrenSortedByKeys = 4096;

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Whether the folder `info` describes is one of those on the path being
// listed (a mount of an ancestor below itself would never end).
bool mountsAnAncestor(const struct stat& info, const TMScanningContext_t& context) {
  if (!S_ISDIR(info.st_mode)) return false;
  const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
  auto isOnPath = [&](const std::vector<std::pair<dev_t, ino_t>>& identities) {
    return std::find(identities.begin(), identities.end(), identity) != identities.end();
  };
  if (isOnPath(context.pathIdentities)) return true;
  for (const TMScanBranch* branch = context.branch; branch != nullptr; branch = branch->parent) {
    if (isOnPath(branch->identitiesAbove)) return true;
  }
  return false;
}

// The position after the last record of a chunk getdents64 filled.
int64_t positionAfter(const char* chunk, long bytes) {
  int64_t position = 0;
  forEachDirectoryRecord(chunk, bytes, [&](const TMDirectoryRecord& record) { position = record.d_off; });
  return position;
}

}  // namespace

uint64_t TMFolderTree::childCount() const {
  const TMChildList* list = children();
  return list ? list->count() : 0;
}

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
  // An observer is told the entries in depth-first order: one thread.
  const unsigned threads = observer != nullptr ? 1 : context->options.threadCount();
  if (threads > 1) {
    TMParallelScan::scan(this, directory, info.st_dev, info.st_ino, threads, context);
    return;
  }
  TMOpenFolderChain openFolders(fileSystem);
  openFolders.enter(directory, info.st_dev, info.st_ino);
  context->openFolders = &openFolders;
  if (context->options.crossMountPoints) context->pathIdentities.assign({{info.st_dev, info.st_ino}});
  if (observer != nullptr) observer->folderEntered(url.path(), info);
  const bool wholeListing = populateChildListAtUrl(info.st_dev, context);
  if (observer != nullptr) observer->folderLeft(!wholeListing);
  context->openFolders = nullptr;
}

bool TMFolderTree::populateChildListAtUrl(dev_t device, TMScanningContext_t* context) {
  const uint64_t handOffsBefore = context->handOffs;
  const bool wholeListing = createFileListAtUrl(device, context);
  if (context->handOffs == handOffsBefore) {
    finishChildList(context);
  } else {
    // Sizes below are not final until the branches handed off have ended.
    context->branch->waitingFolders.push_back(this);
  }
  return wholeListing;
}

bool TMFolderTree::createFileListAtUrl(dev_t device, TMScanningContext_t* context) {
  const size_t level = size_t(context->parentCount);
  TMOpenFolderChain& openFolders = *context->openFolders;
  TMListingStack& listing = context->listing;
  const size_t chunk = listing.top();
  bool denied = false;
  for (;;) {
    const int directory = openFolders.descriptor(level);
    if (directory < 0) {
      denied = true;  // moved or removed while a folder below it was listed
      break;
    }
    char* buffer = listing.reserve(kListingBufferBytes);
    long bytes = context->fileSystem->readEntries(directory, buffer, kListingBufferBytes);
    if (bytes <= 0) break;  // the end, or a folder that stopped being readable
    openFolders.setResumeOffset(level, positionAfter(buffer, bytes));
    listing.push(size_t(bytes));
    // Deeper levels push their chunks above this one and pop them before
    // returning, but may move the stack: entries are found by offset.
    for (size_t offset = chunk; offset < listing.top() && openFolders.descriptor(level) >= 0;) {
      const TMDirectoryRecord* entry = &directoryRecordAt(listing.at(offset));
      offset += entry->d_reclen;
      if (context->shouldStop()) {
        listing.popTo(chunk);
        return true;
      }
      if (!isDotOrDotDot(entry->d_name) && !acceptEntry(level, device, entry->d_name, entry->d_type, context))
        denied = true;
    }
    listing.popTo(chunk);
  }
  // Listed but not entered: what it holds is there, yet not measured.
  if (denied) {
    markUnreadable(EACCES);
    noteUnreadable(nullptr, EACCES, context);
  }
  return !denied;
}

void TMFolderTree::noteUnreadable(const char* name, int error, TMScanningContext_t* context) const {
  ++context->unreadableFolderCount;
  // Its path, from the folders above it: memory only for folders that could
  // not be read. With several threads, those above this thread's branch
  // come first.
  std::vector<const TMFolderTree*> above;
  std::vector<const TMScanBranch*> branches;
  for (const TMScanBranch* branch = context->branch; branch != nullptr; branch = branch->parent)
    branches.push_back(branch);
  for (auto branch = branches.rbegin(); branch != branches.rend(); ++branch)
    above.insert(above.end(), (*branch)->above.begin(), (*branch)->above.end());
  const auto& stack = context->parentStack;
  above.insert(above.end(), stack.begin(), stack.begin() + context->parentCount);
  std::string path = context->rootPath == "/" ? std::string() : context->rootPath;
  for (size_t i = 1; i < above.size(); ++i) (path += '/').append(above[i]->filename());
  if (!above.empty()) (path += '/').append(filename());
  if (name != nullptr) (path += '/').append(name);
  for (const TMFolderTree* folder : above) folder->markUnreadableBelow();
  if (name != nullptr) markUnreadableBelow();
  context->unreadableFolders.push_back({path.empty() ? std::string("/") : path, error});
}

bool TMFolderTree::acceptEntry(size_t level, dev_t device, const char* name, unsigned char type,
                               TMScanningContext_t* context) {
  if (type == DT_LNK) return true;
  TMScanObserver* observer = context->observer;
  struct stat info {};
  bool examined = true;
  bool mountRoot = false;
  if (context->fileSystem->statAt(context->openFolders->descriptor(level), name, &info, &mountRoot) != 0) {
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
  if ((info.st_dev != device || mountRoot) &&
      (!context->options.crossMountPoints || mountsAnAncestor(info, *context))) {
    if (observer != nullptr) observer->mountPointSkipped(name, info);
    return true;
  }
  if (S_ISLNK(info.st_mode)) return true;

  if (S_ISDIR(info.st_mode)) {
    if (observer != nullptr) observer->folderEntered(name, info);
    scanSubFolder(level, name, info.st_dev, info.st_ino, context);
  } else {
    if (observer != nullptr) observer->fileFound(name, info);
    uint64_t size = uint64_t(info.st_blocks) * 512;
    // Another link to a file already counted: there, and of no size here.
    if (context->options.hardLinksOnce && info.st_nlink > 1 && !isFirstLink(info, context)) size = 0;
    auto* file = create<TMFileTree>(*context->arena, name, size);
    appendChild(file, context);
    addToSizesAbove(size, context);
  }
  if (context->parallel != nullptr) {
    // Notices and the sizes above the branch go out every few hundred entries.
    if (++context->unreportedEntries == TMScanningContext_t::kEntriesBetweenSettlements)
      TMParallelScan::settle(context);
  } else if (context->updateReceiver != nullptr && !context->shouldStop()) {
    context->updateReceiver->notifyFileScanned();
  }
  return examined;
}

void TMFolderTree::scanSubFolder(size_t level, const char* name, dev_t device, ino_t inode,
                                 TMScanningContext_t* context) {
  auto* folder = create<TMFolderTree>(*context->arena, name);
  appendChild(folder, context);

  auto& stack = context->parentStack;
  if (stack.size() <= size_t(context->parentCount)) stack.resize(size_t(context->parentCount) + 1);
  stack[size_t(context->parentCount)] = this;
  ++context->parentCount;

  TMOpenFolderChain& openFolders = *context->openFolders;
  const TMFileSystem& fileSystem = *context->fileSystem;
  const int subDirectory = fileSystem.openDirectoryAt(openFolders.descriptor(level), name);
  if (subDirectory < 0) {
    const int error = errno;
    --context->parentCount;
    folder->markUnreadable(error);
    noteUnreadable(folder->filenameCString(), error, context);
    if (context->observer != nullptr) context->observer->folderLeft(true);
    return;
  }
  // Identified by what was opened when the entry's own stat was refused.
  struct stat opened {};
  if (inode == 0 && fileSystem.statOpen(subDirectory, &opened) == 0) inode = opened.st_ino;
  TMParallelScan* parallel = context->parallel;
  if (parallel != nullptr && parallel->wantsFolder() &&
      parallel->handOff(folder, subDirectory, device, inode, context)) {
    --context->parentCount;  // listed by another thread
    return;
  }
  openFolders.enter(subDirectory, device, inode);
  const bool crossing = context->options.crossMountPoints;
  if (crossing) context->pathIdentities.emplace_back(device, inode);
  const bool wholeListing = folder->populateChildListAtUrl(device, context);
  if (crossing) context->pathIdentities.pop_back();
  // A level above that cannot be opened again is seen by its own listing.
  openFolders.leave(stack);
  --context->parentCount;
  if (context->observer != nullptr) context->observer->folderLeft(!wholeListing);
}

void TMFolderTree::appendChild(TMFileTree* child, TMScanningContext_t* context) {
  TMChildList* list = children_.load(std::memory_order_relaxed);
  if (list == nullptr || list->isFull()) {
    uint32_t count = list ? list->count() : 0;
    TMChildList* grown = TMChildList::allocate(list ? count * 2 : kFirstListCapacity, context->arena->base());
    if (list) grown->copyUnpublished(*list, count);
    grown->setUnpublishedCount(count);
    children_.store(grown, std::memory_order_seq_cst);
    if (list) context->recycler->retire(list);
    list = grown;
  }
  list->append(child);
}

void TMFolderTree::finishChildList(TMScanningContext_t* context) {
  TMChildList* listing = children_.load(std::memory_order_relaxed);
  if (listing == nullptr) return;
  uint32_t count = listing->count();

  TMChildList* finished = TMChildList::allocateIn(*context->arena, count);
  if (context->shouldStop()) {
    // The tree is being abandoned: keep listing order, skip the sort.
    finished->copyUnpublished(*listing, count);
  } else if (count <= kMostChildrenSortedByKeys) {
    // Sort copies of the sizes, which are final now: comparing through the
    // node pointers would miss the cache on every comparison.
    auto& keys = context->sortScratch;
    keys.resize(count);
    for (uint32_t i = 0; i < count; ++i) keys[i] = {listing->at(i)->diskSize(), listing->at(i)};
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (uint32_t i = 0; i < count; ++i) finished->setUnpublished(i, keys[i].second);
  } else {
    // A huge folder sorts its final list in place: copies of the sizes
    // would take four times the list's memory at the scan's peak, and its
    // children, made one after the other, lie close together in the arena.
    finished->copyUnpublished(*listing, count);
    finished->sortUnpublished(count,
                              [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); });
  }
  finished->setUnpublishedCount(count);
  children_.store(finished, std::memory_order_seq_cst);
  context->recycler->retire(listing);
}

void TMFolderTree::setFinishedChildren(TMNodeArena& arena, std::vector<TMFileTree*>& children) {
  std::stable_sort(children.begin(), children.end(),
                   [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); });
  uint64_t size = 0;
  TMChildList* list = children.empty() ? nullptr : TMChildList::allocateIn(arena, uint32_t(children.size()));
  for (uint32_t i = 0; i < children.size(); ++i) {
    list->setUnpublished(i, children[i]);
    size += children[i]->diskSize();
  }
  if (list != nullptr) list->setUnpublishedCount(uint32_t(children.size()));
  children_.store(list, std::memory_order_seq_cst);
  setDiskSize(size);
}

bool TMFolderTree::isFirstLink(const struct stat& info, TMScanningContext_t* context) {
  if (context->parallel != nullptr) return context->parallel->isFirstLink(info.st_dev, info.st_ino);
  return context->linkedFilesSeen.emplace(info.st_dev, info.st_ino).second;
}

void TMFolderTree::addToSizesAbove(uint64_t size, TMScanningContext_t* context) {
  if (context->parallel != nullptr) {
    // Branches below this thread's add to these folders too.
    addToDiskSizeShared(size);
    for (int32_t i = context->parentCount - 1; i >= 0; --i)
      context->parentStack[size_t(i)]->addToDiskSizeShared(size);
    context->sizeOwedAbove += size;
    return;
  }
  addToDiskSize(size);
  for (int32_t i = context->parentCount - 1; i >= 0; --i)
    context->parentStack[size_t(i)]->addToDiskSize(size);
}

}  // namespace tilemora
