// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adds up files by category and by extension as they come, from a tree in
// memory or from a saved scan read depth first without holding it (as what
// takes a tree given depth first): what is held is one total per
// extension met, whatever the number of files.

#include <array>
#include <string>
#include <unordered_map>

#include "TMFileTypes.h"
#include "core/filetree/TMTreeSink.h"

namespace tilemora {

class TMTypeTally final : public TMTreeSink {
 public:
  // Files are counted by their length with `byLength`, else by their size on disk.
  explicit TMTypeTally(bool byLength = false);

  void add(std::string_view name, uint64_t bytes);
  // The totals so far, largest first.
  TMTypeStatistics statistics() const;

  void enterFolder(std::string_view) override { ++depth_; }
  void addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t) override {
    add(name, byLength_ ? length : size);
  }
  void markFolderUnreadable() override {}
  bool leaveFolder() override { return depth_ > 0 && depth_-- > 0; }

 private:
  bool byLength_;
  size_t depth_ = 0;
  std::array<TMTypeTotal, kFileCategoryCount> categories_;
  std::unordered_map<std::string, TMTypeTotal> extensions_;
  uint64_t bytes_ = 0;
};

}  // namespace tilemora
