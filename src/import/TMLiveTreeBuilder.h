// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a tree given depth first (a saved scan as it arrives) the way a
// scan builds one, so that other threads may read it while it grows: each
// entry is published in its folder's child list as it comes, a file's size
// reaches every folder above it at once, and a folder's children are sorted
// largest first when it is left. One thread builds; progress is told for
// every entry.

#include <memory>
#include <string_view>
#include <vector>

#include "core/filetree/TMTreeSink.h"

namespace tilemora {

class TMFileTree;
class TMFolderTree;
class TMProgressNotifiable;
struct TMFileTreeStorage;

class TMLiveTreeBuilder : public TMTreeSink {
 public:
  // The root, named `rootName`, is the folder entered first; `progress`
  // (may be null) is told of every entry on the building thread.
  TMLiveTreeBuilder(std::string_view rootName, TMProgressNotifiable* progress);
  ~TMLiveTreeBuilder() override;
  TMLiveTreeBuilder(const TMLiveTreeBuilder&) = delete;
  TMLiveTreeBuilder& operator=(const TMLiveTreeBuilder&) = delete;

  // The root, to be read while the tree grows (as a scan's is).
  std::shared_ptr<TMFileTree> root() const;

  void enterFolder(std::string_view name) override;
  void addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified) override;
  void markFolderUnreadable() override;
  bool leaveFolder() override;

  // Ends every folder still open: sorted, unless `abandoned` (a read that
  // stopped: the tree will be thrown away).
  void finish(bool abandoned);

 private:
  void finishFolder(TMFolderTree& folder, bool abandoned);

  std::shared_ptr<TMFileTreeStorage> storage_;
  std::vector<TMFolderTree*> open_;  // the root first
  std::vector<uint64_t> sortScratch_;
  TMProgressNotifiable* progress_;
};

}  // namespace tilemora
