// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A binary export as one side of a comparison, read a folder at a time
// from its file: what is held is the folders being compared, not the scan.
// A folder's size is the one the export gives it. Entries are checked as
// a whole reading checks them; since a crafted export could lead a walk
// back into a folder above, listing more items than the export can hold
// is an error.

#include <memory>

#include "TMComparedTree.h"
#include "TMBinaryExportFormat.h"

namespace tilemora {

class TMBinaryExportReader;

class TMComparedBinaryExport final : public TMComparedTree {
 public:
  // Measured by the files' lengths with `byLength`, else by their size on
  // disk (either stands in for the other where one is not given). Nothing,
  // with `error` set, when the root cannot be read or is no folder.
  static std::unique_ptr<TMComparedBinaryExport> open(std::unique_ptr<TMBinaryExportReader> reader, bool byLength,
                                                      std::string& error);
  ~TMComparedBinaryExport() override;

  TMComparedFolder top() const override { return {nullptr, root_.sub}; }
  uint64_t topSize() const override { return folderSize(root_); }
  std::optional<std::string> list(const TMComparedFolder& folder, std::vector<TMComparedEntry>& entries) override;

 private:
  TMComparedBinaryExport(std::unique_ptr<TMBinaryExportReader> reader, bool byLength);
  uint64_t folderSize(const TMBinaryItem& item) const;
  uint64_t fileSize(const TMBinaryItem& item) const;

  std::unique_ptr<TMBinaryExportReader> reader_;
  bool byLength_;
  TMBinaryItem root_;
  uint64_t mostItems_ = 0;
  uint64_t itemsListed_ = 0;
  std::vector<TMBinaryItem> items_;  // the last folder listed: its entries' names
};

}  // namespace tilemora
