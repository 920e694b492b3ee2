// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tree held in memory as one side of a comparison. Only while no one
// changes it. The folders of a saved scan not read yet (cut short) may be
// told apart as folders whose entries are not known.

#include "TMComparedTree.h"

namespace tilemora {

class TMComparedFileTree final : public TMComparedTree {
 public:
  // `root` (a volume is compared by its folder) must outlive this.
  explicit TMComparedFileTree(const TMFileTree& root, bool foldersCutShortUnknown = false);

  TMComparedFolder top() const override { return {folder_, std::nullopt}; }
  uint64_t topSize() const override;
  std::optional<std::string> list(const TMComparedFolder& folder, std::vector<TMComparedEntry>& entries) override;
  bool knows(const TMComparedFolder& folder) const override;

 private:
  const TMFolderTree* folder_;
  bool foldersCutShortUnknown_;
};

}  // namespace tilemora
