// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder node. It fills itself from the file system: it lists its folder
// one level at a time, depth first, appends a node for every entry it accepts
// (sub-folders at once, before descending, so that interim displays see them
// grow), adds each file's size to every folder above it as soon as the file
// is found, and sorts its children largest first when its own listing (all
// sub-folders included) has ended. When several threads scan, a sub-folder
// may be handed to another thread instead of descended into (see
// TMParallelScan); the tree comes out the same.
//
// Skipped entries: symbolic links, and mount points (an entry on another
// device, or the root of a mount such as a bind mount of the same file
// system, which would otherwise be counted twice). Everything else, hidden entries and special
// files included, counts with its allocated size (st_blocks × 512); special
// files are never opened. Hard links count once per link.

#include <sys/types.h>

#include <cerrno>

#include "TMChildList.h"
#include "TMFileTree.h"
#include "TMScanningContext.h"

namespace tilemora {

class TMFolderTree : public TMFileTree {
 public:
  // initWithFileURL: — an empty folder node, size 0 (made with create()).
  TMFolderTree() : TMFileTree(0, TMNodeKind::Folder), children_(nullptr) {}

  // initWithFilePath:andContext: — scans the folder at `url` into this empty
  // node and returns when the whole tree below it has been scanned (or the
  // scan was told to stop). A path that is not a readable folder leaves the
  // node empty.
  void initWithFilePath(const TMFileURL& url, TMScanningContext_t* context);

  // The current child list, or null while the folder has no children. While
  // the scan runs, hold a TMInterimReadGuard for as long as the list is used.
  const TMChildList* children() const { return children_.load(std::memory_order_seq_cst); }
  uint64_t childCount() const;
  // Why the scan could not read this folder (an errno), 0 when it could.
  // Set on the scan thread; read while it runs.
  int readError() const { return readError_.load(std::memory_order_relaxed); }
  // Marks this folder as not read (a saved scan says so too).
  void markUnreadable(int error) const {
    readError_.store(uint8_t(error > 0 && error < 256 ? error : EIO), std::memory_order_relaxed);
  }
  // Whether a folder somewhere below this one could not be read, so that the
  // map can say where to look even when that folder takes no area.
  bool holdsUnreadable() const { return unreadableBelow_.load(std::memory_order_relaxed) != 0; }
  void markUnreadableBelow() const { unreadableBelow_.store(1, std::memory_order_relaxed); }

  // Gives a folder built outside a scan (a saved scan being read) its
  // children, all nodes of `arena`: sorted largest first into a list in the
  // arena, its size their sum. Only before anyone else sees the folder.
  void setFinishedChildren(TMNodeArena& arena, std::vector<TMFileTree*>& children);

  // A folder layout over the children's layouts; none for an empty folder or
  // one at the depth limit; a plain leaf when no child has a layout.
  std::unique_ptr<TMLayoutNode> createLayoutTree(int32_t maxDepth, int32_t depth);

  // Settles a deletion below this folder: the child on the path deletes,
  // this folder unlinks a deleted child and lowers its own size.
  FileDeleteRez_t deleteNodeWithURLParts(const std::vector<std::string>& parts, uint64_t index,
                                         const TMTrashFunction& trash);

 private:
  // Lists this folder, the deepest level of the context's open folders (on
  // device `device`), and everything below it, then sorts the children.
  // Answers whether this folder's own listing was read to its end.
  bool populateChildListAtUrl(dev_t device, TMScanningContext_t* context);
  // Lists one folder level, descending into each sub-folder as it is met;
  // answers false when part of it could not be read.
  bool createFileListAtUrl(dev_t device, TMScanningContext_t* context);
  // Adds the entry `name` of the folder open at `level`; answers false when
  // it could not be examined for want of permission (it is then kept, of
  // its listed kind, with 0 bytes).
  bool acceptEntry(size_t level, dev_t device, const char* name, unsigned char type,
                   TMScanningContext_t* context);
  // Notes a folder that could not be read for `error`: `name` below this
  // folder, or this folder itself when `name` is null.
  void noteUnreadable(const char* name, int error, TMScanningContext_t* context) const;
  // Adds the sub-folder `name` (on `device`, as `inode`; 0 when its stat was
  // refused) of the folder open at `level` and scans it.
  void scanSubFolder(size_t level, const char* name, dev_t device, ino_t inode,
                     TMScanningContext_t* context);

  friend class TMParallelScan;

  void appendChild(TMFileTree* child, TMScanningContext_t* context);
  // Replaces the listing-order list by a final one in the arena, sorted
  // largest first unless the scan is stopping.
  void finishChildList(TMScanningContext_t* context);
  void addToSizesAbove(uint64_t size, TMScanningContext_t* context);
  // With hard links counted once: whether `info` is the first link found.
  static bool isFirstLink(const struct stat& info, TMScanningContext_t* context);

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
