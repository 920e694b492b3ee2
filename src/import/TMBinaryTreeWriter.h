// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a tree given depth first (a folder entered, its entries, the folder
// left) into the items of a binary export: each entry names the one before
// it in its folder, and a folder, written once it is left, names its last
// entry and carries the sizes and count of everything below it. Holds one
// small record per folder entered, whatever the size of the tree.
//
// Several threads may write one tree, each with its own writer: a folder
// entered by one can be handed to another (`handOffFolder`), which goes on
// with it (`continueFolder`). The folders above a folder handed off are
// then shared: their entries are linked under a lock, and each is written
// by the thread that ends the last of its listing and the folders handed
// off below it. Entries of a folder come in the order they were linked.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TMBinaryExportWriter.h"

namespace tilemora {

class TMBinaryTreeWriter {
 public:
  // A folder one thread handed to another.
  class SharedFolder;

  explicit TMBinaryTreeWriter(TMBinaryExportWriter& blocks) : blocks_(blocks) {}

  // A folder, entered: the scanned one first (named by its path), then a
  // sub-folder of the folder last entered. `fields` are its own (a device,
  // an inode, a date): its sizes and references are added when it is left.
  void enterFolder(std::string_view name, TMBinaryItem fields = {});
  // The folder last entered could not be read.
  void markFolderUnreadable();
  // An entry of the folder last entered that is not a folder (a file, or
  // one left out): its sizes count in every folder above it.
  void addEntry(TMBinaryItem entry);
  // Writes the folder last entered, unless a folder handed off below it
  // is not written yet (the thread that writes the last of them writes it).
  void leaveFolder();
  // Leaves every folder still entered and writes the index; answers
  // whether everything reached the stream. Every other thread's writer
  // must have been flushed.
  bool finish();

  // The folder last entered, just entered, goes to another writer of the
  // same export: it is no longer this one's.
  std::shared_ptr<SharedFolder> handOffFolder();
  // The folder handed off as `folder` goes on here: it is now the folder
  // last entered. Its leaving is told here.
  void continueFolder(std::shared_ptr<SharedFolder> folder);

 private:
  struct Totals {
    TMBinaryItem item;
    std::optional<uint64_t> lastEntry;
    uint64_t asize = 0;
    uint64_t dsize = 0;
    uint64_t items = 0;
    bool unreadable = false;
    bool unreadableBelow = false;
  };
  struct OpenFolder {
    Totals own;                            // while no other thread adds to it
    std::shared_ptr<SharedFolder> shared;  // once one may
  };

  // Links `item` after the last entry of `parent`, if any, and writes it.
  uint64_t append(Totals* parent, TMBinaryItem& item);
  // Adds `entry` to `folder`, with the lock of a shared folder held.
  void addTo(Totals& folder, TMBinaryItem& entry);
  // The item of a folder whose listing and every folder below it ended,
  // linked into `parent` (null for the root) and written.
  uint64_t writeFolder(Totals& folder, Totals* parent);
  // Writes a shared folder whose last part has ended, and the folders
  // above it that were waiting only for it.
  void writeShared(std::shared_ptr<SharedFolder> folder);
  // Makes the folders entered shared, from the first one up.
  void shareFolders();

  TMBinaryExportWriter& blocks_;
  std::vector<OpenFolder> folders_;
  std::optional<uint64_t> root_;
  std::shared_ptr<SharedFolder> handedRoot_;  // the root, when it went to another thread
};

class TMBinaryTreeWriter::SharedFolder {
 private:
  friend class TMBinaryTreeWriter;
  std::mutex mutex_;
  Totals totals_;
  std::shared_ptr<SharedFolder> parent_;  // null for the root
  // Its own listing, and each shared folder directly below it, until ended.
  uint32_t unfinished_ = 1;
  std::optional<uint64_t> written_;  // its reference, once written
};

}  // namespace tilemora
