// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder node: its children (a list published atomically, so that the map
// can be drawn while a scan appends to it), its size (the sum of the files
// below it) and whether it or a folder below could not be read.
//
// A scan fills it through the building operations below (see
// core/scan/TMFolderScan): children appended in listing order, sizes added
// as files are found, the list replaced by its final, sorted form once the
// folder's whole listing has ended. A saved scan gives it its children at
// once.

#include <sys/types.h>

#include <cerrno>

#include <utility>
#include <vector>

#include "TMChildList.h"
#include "TMFileTree.h"

namespace tilemora {

class TMChildListRecycler;
struct TMScanningContext_t;

// The order a finished child list keeps.
enum class TMChildOrder : uint8_t {
  kLargestFirst,
  kListing,  // as listed: for a tree being abandoned, not worth sorting
};

class TMFolderTree : public TMFileTree {
 public:
  // initWithFileURL: — an empty folder node, size 0 (made with create()).
  TMFolderTree() : TMFileTree(0, TMNodeKind::Folder), children_(nullptr) {}

  // initWithFilePath:andContext: — scans the folder at `url` into this empty
  // node and returns when the whole tree below it has been scanned (or the
  // scan was told to stop). A path that is not a readable folder leaves the
  // node empty. The scan itself is core/scan's.
  void initWithFilePath(const TMFileURL& url, TMScanningContext_t* context);

  // The current child list, or null while the folder has no children. While
  // the scan runs, hold a TMInterimReadGuard for as long as the list is used.
  const TMChildList* children() const { return children_.load(std::memory_order_seq_cst); }
  uint64_t childCount() const;
  // The list itself, for re-sorting it in place once nothing else reads
  // the tree (see remeasureTree).
  TMChildList* mutableChildren() { return children_.load(std::memory_order_relaxed); }
  // Why the scan could not read this folder (an errno), 0 when it could.
  // Set on the scan thread; read while it runs.
  int readError() const { return readError_.load(std::memory_order_relaxed); }
  // Marks this folder as not read (a saved scan says so too).
  void markUnreadable(int error) const {
    readError_.store(uint8_t(error > 0 && error < 256 ? error : EIO), std::memory_order_relaxed);
  }
  // Whether the scan was stopped before it had listed this folder whole:
  // what it holds is only part of what is there. Kept as a read error of
  // its own (ECANCELED), which costs no memory; it is no unreadable folder.
  bool wasCutShort() const { return readError() == kCutShort; }
  void markCutShort() const { readError_.store(kCutShort, std::memory_order_relaxed); }
  // A folder listed whole after all (a saved scan read a folder at a time).
  void clearCutShort() const {
    uint8_t cutShort = kCutShort;
    readError_.compare_exchange_strong(cutShort, 0, std::memory_order_relaxed);
  }
  bool isUnreadable() const { return readError() != 0 && !wasCutShort(); }
  static constexpr uint8_t kCutShort = ECANCELED;

  // Whether a folder somewhere below this one could not be read, so that the
  // map can say where to look even when that folder takes no area.
  bool holdsUnreadable() const { return unreadableBelow_.load(std::memory_order_relaxed) != 0; }
  void markUnreadableBelow() const { unreadableBelow_.store(1, std::memory_order_relaxed); }

  // Gives a folder built outside a scan (a saved scan being read) its
  // children, all nodes of `arena`: sorted largest first into a list in the
  // arena, its size their sum. Only before anyone else sees the folder.
  void setFinishedChildren(TMNodeArena& arena, std::vector<TMFileTree*>& children);


  // deleteNodeWithURLParts:atIndex: — as for any node (see TMFileTree).
  FileDeleteRez_t deleteNodeWithURLParts(const std::vector<std::string>& parts, uint64_t index,
                                         const TMTrashFunction& trash);
  // Deletion, on the main thread once no scan writes the tree: unlinks the
  // child at `position` (sizes are the caller's to lower)...
  void unlinkChildAt(uint32_t position) { children_.load(std::memory_order_relaxed)->removeAt(position); }
  // ...and lowers this folder's size by what went below it.
  void lowerDiskSize(uint64_t size) { setDiskSize(diskSize() - size); }
  // Gives the folder `list` (of its tree's arena) as its children, the
  // old list left in the arena: a change found after the scan, on the main
  // thread while nothing else reads the tree.
  void adoptChildList(TMChildList* list) { children_.store(list, std::memory_order_seq_cst); }
  // Sets the size of a folder re-measured (see remeasureTree).
  void setMeasuredSize(uint64_t size) { setDiskSize(size); }

  // Building, by the one thread that lists this folder.
  // Appends `child`, growing the list into `arena` when it is full; the
  // list replaced goes to `recycler`, as interim readers may still walk it.
  void appendChild(TMFileTree* child, TMNodeArena& arena, TMChildListRecycler& recycler);
  // Replaces the listing-order list by a final one in `arena`, in `order`
  // (largest first: equal sizes in listing order). `sortScratch` is reused
  // space for the sort keys.
  void finishChildList(TMNodeArena& arena, TMChildListRecycler& recycler, TMChildOrder order,
                       std::vector<uint64_t>& sortScratch);

  // A size found below, added by the one writer of this folder's size...
  using TMFileTree::addToDiskSize;
  // ...or by one of several threads that add to it.
  using TMFileTree::addToDiskSizeShared;

 private:
  // Declared first, so that it takes a byte of the base's tail padding and
  // costs no memory: errno values fit in a byte.
  mutable std::atomic<uint8_t> readError_{0};
  mutable std::atomic<uint8_t> unreadableBelow_{0};
  std::atomic<TMChildList*> children_;

  TM_FILE_TREE_STORAGE(TMFolderTree)
};

// A folder costs its base and its list pointer: the read error lies in the
// base's padding.
static_assert(sizeof(TMFolderTree) == sizeof(TMFileTree) + sizeof(TMChildList*));

}  // namespace tilemora
