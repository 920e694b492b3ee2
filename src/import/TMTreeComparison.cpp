// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeComparison.h"

#include <algorithm>
#include <queue>
#include <string_view>

#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

namespace {

const TMFolderTree* comparedFolder(const TMFileTree& root) {
  return root.asVolume() != nullptr ? root.asVolume()->child() : root.asFolder();
}

bool isEntry(const TMFileTree& node) {
  return node.kind() == TMNodeKind::File || node.asFolder() != nullptr;
}

class Comparison {
  struct Named {
    std::string_view name;
    const TMFileTree* node;
  };
  // Two folders of one path, and that path below the roots.
  struct Pair {
    const TMFolderTree* saved;
    const TMFolderTree* current;
    std::string path;
  };

 public:
  explicit Comparison(size_t keep) : keep_(keep) {}

  void compare(const TMFolderTree* saved, const TMFolderTree* current, const std::stop_token& stop) {
    std::vector<Pair> pending{{saved, current, {}}};
    // Each folder's entries sorted by name, then walked side by side: no
    // hashing, and the lists are reused from folder to folder.
    std::vector<Named> before, after;
    while (!pending.empty()) {
      if (stop.stop_requested()) {
        result.stopped = true;
        return;
      }
      Pair pair = std::move(pending.back());
      pending.pop_back();
      sortedEntries(pair.saved, before);
      sortedEntries(pair.current, after);
      size_t b = 0;
      size_t a = 0;
      while (b < before.size() || a < after.size()) {
        const int order = b == before.size() ? 1 : a == after.size() ? -1 : before[b].name.compare(after[a].name);
        if (order < 0) {
          removed(pair.path, *before[b++].node);
        } else if (order > 0) {
          added(pair.path, *after[a++].node);
        } else {
          matched(pair.path, *before[b++].node, *after[a++].node, pending);
        }
      }
    }
  }

  TMTreeComparison finish() {
    result.nodeChanges = std::make_shared<const TMNodeChanges>(std::move(changes_));
    result.largest.reserve(largest_.size());
    while (!largest_.empty()) {
      result.largest.push_back(std::move(const_cast<TMChangedItem&>(largest_.top())));
      largest_.pop();
    }
    std::reverse(result.largest.begin(), result.largest.end());
    return std::move(result);
  }

  TMTreeComparison result;

 private:
  static void sortedEntries(const TMFolderTree* folder, std::vector<Named>& entries) {
    entries.clear();
    forEachChild(folder, [&](const TMFileTree& child) { entries.push_back({child.filename(), &child}); });
    std::sort(entries.begin(), entries.end(), [](const Named& x, const Named& y) { return x.name < y.name; });
  }

  // The same name on both sides.
  void matched(const std::string& path, const TMFileTree& before, const TMFileTree& child, std::vector<Pair>& pending) {
    const TMFolderTree* folder = child.asFolder();
    if ((before.asFolder() != nullptr) != (folder != nullptr)) {
      removed(path, before);
      added(path, child);
    } else if (folder != nullptr) {
      // A folder's sizes, for what the map tells of it; its files give the colours.
      if (before.diskSize() != child.diskSize()) changes_.push_back({&child, before.diskSize()});
      pending.push_back({before.asFolder(), folder, joined(path, child.filename())});
    } else if (before.diskSize() != child.diskSize()) {
      const bool grew = child.diskSize() > before.diskSize();
      ++(grew ? result.grownItems : result.shrunkItems);
      changes_.push_back({&child, before.diskSize()});
      offer(path, child, before.diskSize(), child.diskSize(), grew ? TMChangeKind::kGrew : TMChangeKind::kShrank);
    }
  }

  template <class Visit>
  static void forEachChild(const TMFolderTree* folder, Visit&& visit) {
    const TMChildList* children = folder != nullptr ? folder->children() : nullptr;
    for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
      if (isEntry(*children->at(i))) visit(*children->at(i));
    }
  }
  static std::string joined(const std::string& path, std::string_view name) {
    return path.empty() ? std::string(name) : path + '/' + std::string(name);
  }

  // Everything below a new item is new, its folders too.
  void added(const std::string& path, const TMFileTree& node) {
    ++result.newItems;
    std::vector<const TMFileTree*> below{&node};
    while (!below.empty()) {
      const TMFileTree* next = below.back();
      below.pop_back();
      changes_.push_back({next, TMNodeChange::kNew});
      forEachChild(next->asFolder(), [&](const TMFileTree& child) { below.push_back(&child); });
    }
    offer(path, node, 0, node.diskSize(), TMChangeKind::kNew);
  }
  void removed(const std::string& path, const TMFileTree& node) {
    ++result.removedItems;
    offer(path, node, node.diskSize(), 0, TMChangeKind::kRemoved);
  }

  // Keeps the change if it is among the largest so far; its path is only
  // made then.
  void offer(const std::string& path, const TMFileTree& node, uint64_t oldSize, uint64_t newSize,
             TMChangeKind kind) {
    const uint64_t difference = changeDifference(oldSize, newSize);
    if (keep_ == 0 || (largest_.size() == keep_ && difference <= largest_.top().difference())) return;
    TMChangedItem item{joined(path, node.filename()), oldSize, newSize, kind, node.asFolder() != nullptr,
                       kind == TMChangeKind::kRemoved ? nullptr : &node};
    largest_.push(std::move(item));
    if (largest_.size() > keep_) largest_.pop();
  }

  struct SmallerFirst {
    bool operator()(const TMChangedItem& a, const TMChangedItem& b) const {
      if (a.difference() != b.difference()) return a.difference() > b.difference();
      return a.path < b.path;  // among equal changes, the first by path is kept
    }
  };

  size_t keep_;
  std::vector<TMNodeChange> changes_;
  std::priority_queue<TMChangedItem, std::vector<TMChangedItem>, SmallerFirst> largest_;
};

}  // namespace

TMTreeComparison compareTrees(const TMFileTree& saved, const TMFileTree& current, size_t keep,
                              const std::stop_token& stop) {
  Comparison comparison(keep);
  const TMFolderTree* savedFolder = comparedFolder(saved);
  const TMFolderTree* currentFolder = comparedFolder(current);
  comparison.result.oldTotal = savedFolder != nullptr ? savedFolder->diskSize() : 0;
  comparison.result.newTotal = currentFolder != nullptr ? currentFolder->diskSize() : 0;
  comparison.compare(savedFolder, currentFolder, stop);
  return comparison.finish();
}

TMSignedSize signedChange(uint64_t oldSize, uint64_t newSize) {
  return {newSize < oldSize, changeDifference(oldSize, newSize)};
}

}  // namespace tilemora
