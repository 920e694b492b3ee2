// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adds up files, by their size on disk, by category and by extension as
// they come: from a tree in memory, or from a saved scan read depth first
// without holding it (as what takes a tree given depth first). What is
// held is one total per extension met, whatever the number of files.

#include <array>
#include <string>
#include <unordered_map>

#include "TMFileTypes.h"
#include "core/filetree/TMTreeSink.h"

namespace tilemora {

class TMTypeTally final : public TMTreeSink {
 public:
  TMTypeTally();

  void add(std::string_view name, uint64_t bytes);
  // The totals so far, largest first.
  TMTypeStatistics statistics() const;

  void enterFolder(std::string_view) override { ++depth_; }
  void addFileWithLength(std::string_view name, uint64_t size, uint64_t, int64_t) override { add(name, size); }
  void markFolderUnreadable() override {}
  bool leaveFolder() override { return depth_ > 0 && depth_-- > 0; }

 private:
  size_t depth_ = 0;
  std::array<TMTypeTotal, kFileCategoryCount> categories_;
  std::unordered_map<std::string, TMTypeTotal> extensions_;
  uint64_t bytes_ = 0;
};

}  // namespace tilemora
