// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeComparison.h"

#include <algorithm>
#include <queue>
#include <string_view>

#include "TMComparedFileTree.h"
#include "core/filetree/TMFolderTree.h"

namespace tilemora {

namespace {

class Comparison {
  // Two folders of one path, and that path below the roots.
  struct Pair {
    TMComparedFolder saved;
    TMComparedFolder current;
    std::string path;
  };

 public:
  explicit Comparison(size_t keep) : keep_(keep) {}

  void compare(TMComparedTree& saved, TMComparedTree& current, const std::stop_token& stop) {
    std::vector<Pair> pending{{saved.top(), current.top(), {}}};
    // Each folder's entries sorted by name, then walked side by side: no
    // hashing, and the lists are reused from folder to folder.
    std::vector<TMComparedEntry> before, after;
    while (!pending.empty()) {
      if (stop.stop_requested()) {
        result.stopped = true;
        return;
      }
      Pair pair = std::move(pending.back());
      pending.pop_back();
      if (!saved.knows(pair.saved) || !current.knows(pair.current)) continue;
      if (!sortedEntries(saved, pair.saved, before) || !sortedEntries(current, pair.current, after)) return;
      size_t b = 0;
      size_t a = 0;
      while (b < before.size() || a < after.size()) {
        const int order = b == before.size() ? 1 : a == after.size() ? -1 : before[b].name.compare(after[a].name);
        if (order < 0) {
          removed(pair.path, before[b++]);
        } else if (order > 0) {
          added(pair.path, after[a++]);
        } else {
          matched(pair.path, before[b++], after[a++], pending);
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
  bool sortedEntries(TMComparedTree& side, const TMComparedFolder& folder, std::vector<TMComparedEntry>& entries) {
    if (std::optional<std::string> error = side.list(folder, entries)) {
      result.error = std::move(error);
      return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const TMComparedEntry& x, const TMComparedEntry& y) { return x.name < y.name; });
    return true;
  }

  // The same name on both sides.
  void matched(const std::string& path, const TMComparedEntry& before, const TMComparedEntry& child,
               std::vector<Pair>& pending) {
    if (before.folder != child.folder) {
      removed(path, before);
      added(path, child);
    } else if (child.folder) {
      // A folder's sizes, for what the map tells of it; its files give the colours.
      if (before.size != child.size && child.node != nullptr) changes_.push_back({child.node, before.size});
      pending.push_back({before.contents, child.contents, joined(path, child.name)});
    } else if (before.size != child.size) {
      const bool grew = child.size > before.size;
      ++(grew ? result.grownItems : result.shrunkItems);
      if (child.node != nullptr) changes_.push_back({child.node, before.size});
      offer(path, child, before.size, child.size, grew ? TMChangeKind::kGrew : TMChangeKind::kShrank);
    }
  }

  static std::string joined(const std::string& path, std::string_view name) {
    return path.empty() ? std::string(name) : path + '/' + std::string(name);
  }

  // Everything below a new item is new, its folders too (the map colours
  // what it holds in memory).
  void added(const std::string& path, const TMComparedEntry& entry) {
    ++result.newItems;
    std::vector<const TMFileTree*> below;
    if (entry.node != nullptr) below.push_back(entry.node);
    while (!below.empty()) {
      const TMFileTree* next = below.back();
      below.pop_back();
      changes_.push_back({next, TMNodeChange::kNew});
      const TMChildList* children = next->asFolder() != nullptr ? next->asFolder()->children() : nullptr;
      for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
        const TMFileTree* child = children->at(i);
        if (child->kind() == TMNodeKind::File || child->asFolder() != nullptr) below.push_back(child);
      }
    }
    offer(path, entry, 0, entry.size, TMChangeKind::kNew);
  }
  void removed(const std::string& path, const TMComparedEntry& entry) {
    ++result.removedItems;
    offer(path, entry, entry.size, 0, TMChangeKind::kRemoved);
  }

  // Keeps the change if it is among the largest so far; its path is only
  // made then.
  void offer(const std::string& path, const TMComparedEntry& entry, uint64_t oldSize, uint64_t newSize,
             TMChangeKind kind) {
    const uint64_t difference = changeDifference(oldSize, newSize);
    if (keep_ == 0 || (largest_.size() == keep_ && difference <= largest_.top().difference())) return;
    TMChangedItem item{joined(path, entry.name), oldSize, newSize, kind, entry.folder,
                       kind == TMChangeKind::kRemoved ? nullptr : entry.node};
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

TMTreeComparison compareScans(TMComparedTree& saved, TMComparedTree& current, size_t keep,
                              const std::stop_token& stop) {
  Comparison comparison(keep);
  comparison.result.oldTotal = saved.topSize();
  comparison.result.newTotal = current.topSize();
  comparison.compare(saved, current, stop);
  return comparison.finish();
}

TMTreeComparison compareTrees(const TMFileTree& saved, const TMFileTree& current, size_t keep,
                              const std::stop_token& stop) {
  TMComparedFileTree savedSide(saved);
  TMComparedFileTree currentSide(current);
  return compareScans(savedSide, currentSide, keep, stop);
}

TMSignedSize signedChange(uint64_t oldSize, uint64_t newSize) {
  return {newSize < oldSize, changeDifference(oldSize, newSize)};
}

}  // namespace tilemora
