// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tree held in memory as one side of a comparison. Only while no one
// changes it.

#include "TMComparedTree.h"

namespace tilemora {

class TMComparedFileTree final : public TMComparedTree {
 public:
  // `root` (a volume is compared by its folder) must outlive this.
  explicit TMComparedFileTree(const TMFileTree& root);

  TMComparedFolder top() const override { return {folder_, std::nullopt}; }
  uint64_t topSize() const override;
  std::optional<std::string> list(const TMComparedFolder& folder, std::vector<TMComparedEntry>& entries) override;

 private:
  const TMFolderTree* folder_;
};

}  // namespace tilemora
