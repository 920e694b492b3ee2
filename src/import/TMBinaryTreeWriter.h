// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a tree given depth first (a folder entered, its entries, the folder
// left) into the items of a binary export: each entry names the one before
// it in its folder, and a folder, written once it is left, names its last
// entry and carries the sizes and count of everything below it. Holds one
// small record per folder entered, whatever the size of the tree.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TMBinaryExportWriter.h"

namespace tilemora {

class TMBinaryTreeWriter {
 public:
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
  // Writes the folder last entered.
  void leaveFolder();
  // Leaves every folder still entered and writes the index; answers
  // whether everything reached the stream.
  bool finish();

 private:
  struct OpenFolder {
    TMBinaryItem item;
    std::optional<uint64_t> lastEntry;
    uint64_t asize = 0;
    uint64_t dsize = 0;
    uint64_t items = 0;
    bool unreadable = false;
    bool unreadableBelow = false;
  };
  // Links `item` after the last entry of the folder last entered.
  uint64_t append(TMBinaryItem& item);

  TMBinaryExportWriter& blocks_;
  std::vector<OpenFolder> folders_;
  std::optional<uint64_t> root_;
};

}  // namespace tilemora
