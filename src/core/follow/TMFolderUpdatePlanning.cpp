// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderUpdatePlanning.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "TMChangeCollector.h"
#include "TMTreeWatching.h"
#include "TMWatchTable.h"
#include "core/filetree/TMChildList.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMNodeArena.h"
#include "core/platform/TMDirectoryRecords.h"
#include "core/platform/TMFileSystem.h"
#include "core/scan/TMDetachedScan.h"
#include "core/scan/TMExclusions.h"

namespace tilemora {

namespace {

// One entry of a folder as it is now.
struct ListedEntry {
  std::string name;
  bool folder = false;
  uint64_t allocated = 0;
  uint64_t length = 0;
  int64_t modified = 0;
  bool countsOnce = false;  // a file of several links when links count once
};

// Whether the folder `name` of the open `directory` holds a cache tag.
bool holdsCacheTag(const TMFileSystem& fileSystem, int directory, const char* name) {
  const int folder = fileSystem.openDirectoryAt(directory, name);
  if (folder < 0) return false;
  char start[TMExclusions::kCacheSignature.size()];
  const long bytes = fileSystem.readFileStartAt(folder, "CACHEDIR.TAG", start, sizeof start);
  fileSystem.closeDirectory(folder);
  return bytes > 0 && TMExclusions::isCacheTag(std::string_view(start, size_t(bytes)));
}

// The entries of the folder at `path` (`relative` below the scanned one)
// that the scan would take; false when it cannot be listed.
bool listFolder(const std::string& path, const std::string& relative, const TMScanOptions& options,
                const TMFileSystem& fileSystem, std::vector<ListedEntry>& entries) {
  const int directory = fileSystem.openDirectory(path.c_str());
  if (directory < 0) return false;
  struct stat own {};
  if (fileSystem.statOpen(directory, &own) != 0) {
    fileSystem.closeDirectory(directory);
    return false;
  }
  const TMExclusions* exclusions = options.exclusions.get();
  alignas(TMDirectoryRecord) char buffer[32 * 1024];
  for (;;) {
    const long bytes = fileSystem.readEntries(directory, buffer, sizeof buffer);
    if (bytes <= 0) break;
    forEachDirectoryRecord(buffer, bytes, [&](const TMDirectoryRecord& record) {
      const char* name = record.d_name;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 || record.d_type == DT_LNK) return;
      if (exclusions != nullptr && exclusions->matches(name, relative)) return;
      struct stat info {};
      bool mountRoot = false;
      if (fileSystem.statAt(directory, name, &info, &mountRoot) != 0) {
        // Gone since the listing: nothing. Not to be examined: what the
        // listing says, with no size, as the scan keeps it.
        if (errno != EACCES) return;
        info.st_mode = record.d_type == DT_DIR ? S_IFDIR : S_IFREG;
        info.st_dev = own.st_dev;
      }
      if (S_ISLNK(info.st_mode)) return;
      if ((info.st_dev != own.st_dev || mountRoot) && !options.crossMountPoints) return;
      if (exclusions != nullptr && info.st_dev != own.st_dev && exclusions->isVirtualDevice(info.st_dev)) return;
      ListedEntry entry;
      entry.name = name;
      entry.folder = S_ISDIR(info.st_mode);
      if (entry.folder && exclusions != nullptr && exclusions->excludesCaches() &&
          holdsCacheTag(fileSystem, directory, name))
        return;
      if (!entry.folder) {
        entry.allocated = uint64_t(info.st_blocks) * 512;
        entry.length = uint64_t(std::max<off_t>(info.st_size, 0));
        entry.modified = info.st_mtim.tv_sec;
        entry.countsOnce = options.hardLinksOnce && info.st_nlink > 1;
      }
      entries.push_back(std::move(entry));
    });
  }
  fileSystem.closeDirectory(directory);
  return true;
}

// The folder at `relative` below `top`, and the folders above it, or null
// when the tree holds no folder there.
TMFolderTree* resolveFolder(TMFolderTree* top, const std::string& relative, std::vector<TMFolderTree*>& above) {
  TMFolderTree* folder = top;
  size_t start = 0;
  while (folder != nullptr && start < relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    const std::string_view name(relative.data() + start, end - start);
    above.push_back(folder);
    TMFolderTree* next = nullptr;
    if (const TMChildList* list = folder->children()) {
      for (uint32_t i = 0, count = list->count(); i < count && next == nullptr; ++i) {
        if (list->at(i)->filename() == name) next = list->at(i)->asFolder();
      }
    }
    folder = next;
    start = end + 1;
  }
  return folder;
}

// The sizes a file of the tree would take as it is now.
bool sameFile(const TMFileTree& node, const ListedEntry& entry, TMSizeMeasure measure) {
  return allocatedSizeOf(node, measure) == entry.allocated && lengthOf(node, measure) == entry.length &&
         node.modifiedTime() == TMFileTree::keptTime(entry.modified);
}

// Plans the update of the folder `update.folder`, found at `update.path`.
void planFolder(TMFolderUpdate& update, const TMFollowedTree& tree, TMNodeArena& arena,
                const std::atomic<bool>* stop, TMChangePlan& plan) {
  std::vector<ListedEntry> entries;
  const TMScanEnvironment& environment = tree.environment;
  if (!listFolder(tree.watches->absolutePath(update.path), update.path, environment.options,
                  *environment.fileSystem, entries))
    return;  // gone: its parent, listed again, no longer holds it
  std::unordered_map<std::string_view, TMFileTree*> children;
  const TMChildList* list = update.folder->children();
  const uint32_t count = list ? list->count() : 0;
  for (uint32_t i = 0; i < count; ++i) children.emplace(list->at(i)->filename(), list->at(i));

  for (const ListedEntry& entry : entries) {
    auto found = children.find(entry.name);
    TMFileTree* old = found != children.end() ? found->second : nullptr;
    if (old != nullptr) children.erase(found);
    const std::string path = pathBelow(update.path, entry.name);
    if (old != nullptr && (old->asFolder() != nullptr) == entry.folder) {
      if (!entry.folder) {
        if (!entry.countsOnce && !sameFile(*old, entry, tree.measure))
          update.resized.push_back({old, entry.allocated, entry.length, entry.modified});
        continue;
      }
      // The same folder, unless its watch ended: another one of its name.
      if (!tree.watches->takeEnded(path)) continue;
    }
    if (old != nullptr) update.removed.push_back(old);
    if (!entry.folder) {
      // A new link to a file counted elsewhere counts nothing when links
      // count once.
      const uint64_t allocated = entry.countsOnce ? 0 : entry.allocated;
      const uint64_t length = entry.countsOnce ? 0 : entry.length;
      const bool byLength = tree.measure == TMSizeMeasure::kLength;
      auto* file = TMFileTree::create<TMFileTree>(arena, entry.name, byLength ? length : allocated);
      file->setAlternateSize(byLength ? allocated : length);
      file->setModifiedTime(entry.modified);
      update.added.push_back(file);
      continue;
    }
    watchFoldersOnDisk(*tree.watches, path, environment);
    TMDetachedScan scanned = scanDetachedFolder(TMFileURL::fromPath(tree.watches->absolutePath(path)), path, arena,
                                                environment, stop);
    if (scanned.folder == nullptr) continue;  // gone meanwhile
    if (tree.measure != TMSizeMeasure::kOnDisk) remeasureTree(*scanned.folder, TMSizeMeasure::kOnDisk, tree.measure);
    update.added.push_back(scanned.folder);
    plan.excludedCount += scanned.excludedCount;
    for (auto& unreadable : scanned.unreadableFolders) plan.unreadableFolders.push_back(std::move(unreadable));
  }
  for (const auto& [name, node] : children) {
    update.removed.push_back(node);
    if (node->asFolder() != nullptr) plan.removedFolders.push_back(pathBelow(update.path, std::string(name)));
  }
  const uint64_t after = count - update.removed.size() + update.added.size();
  if (list == nullptr || after > list->capacity()) {
    // Room to grow again without a new list each time.
    update.roomierList = TMChildList::allocateIn(arena, uint32_t(after + after / 2 + 4));
  }
}

}  // namespace

TMChangePlan planFolderUpdates(const std::set<std::string>& folders, const TMFollowedTree& tree,
                               const std::atomic<bool>* stop) {
  TMChangePlan plan;
  // Nodes made here borrow from the tree's arena, which nothing else
  // allocates from meanwhile.
  TMNodeArena arena(*tree.arena);
  for (const std::string& path : folders) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) break;
    TMFolderUpdate update;
    update.path = path;
    update.folder = resolveFolder(tree.top, path, update.above);
    if (update.folder == nullptr) continue;
    planFolder(update, tree, arena, stop, plan);
    if (!update.removed.empty() || !update.resized.empty() || !update.added.empty())
      plan.updates.push_back(std::move(update));
  }
  // Deepest first.
  std::stable_sort(plan.updates.begin(), plan.updates.end(),
                   [](const TMFolderUpdate& a, const TMFolderUpdate& b) { return a.above.size() > b.above.size(); });
  return plan;
}

}  // namespace tilemora
