// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a file tree from entries given depth first, as a saved scan lists
// them, into the same arena and node classes as a scan: a folder is
// entered, its entries follow (sub-folders entered and left in turn), and
// when it is left its children are sorted largest first and its size is
// their sum. Memory beyond the finished tree: the children of the folders
// still open.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "TMFileTree.h"
#include "TMTreeSink.h"

namespace tilemora {

class TMFolderTree;
struct TMFileTreeStorage;

class TMFileTreeBuilder : public TMTreeSink {
 public:
  // The root folder, named `rootName`, is the folder entered first.
  explicit TMFileTreeBuilder(std::string_view rootName);
  ~TMFileTreeBuilder() override;
  TMFileTreeBuilder(const TMFileTreeBuilder&) = delete;
  TMFileTreeBuilder& operator=(const TMFileTreeBuilder&) = delete;

  void enterFolder(std::string_view name) override;
  // A file of the folder last entered, of `size` bytes on disk, last
  // modified `modified` seconds after 1970 (0: not known).
  void addFile(std::string_view name, uint64_t size, int64_t modified = 0);
  // The same for a file whose length is known beside its size on disk.
  void addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified = 0) override;
  void markFolderUnreadable() override;
  bool leaveFolder() override;
  // Folders entered and not yet left, the root included.
  size_t openFolderCount() const { return levels_.size(); }

  // Ends every folder still open and hands out the root...
  std::shared_ptr<TMFileTree> finish();
  // ...named `rootName` instead of the name it was made with (known only
  // once everything below was read).
  std::shared_ptr<TMFileTree> finish(std::string_view rootName);

 private:
  struct Level {
    TMFolderTree* folder;
    std::vector<TMFileTree*> children;
  };
  void close(Level& level);

  std::shared_ptr<TMFileTreeStorage> storage_;
  std::vector<Level> levels_;
};

}  // namespace tilemora
