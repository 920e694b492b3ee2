// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The leaves of a volume's free space and unscanned space: plain rectangles
// in fixed colours with their name and size. They answer no file node, so
// the view never reports them as a file.

#include "TMLayoutLeaf.h"

namespace tilemora {

class TMLayoutEmptySpace : public TMLayoutLeaf {
 public:
  using TMLayoutLeaf::TMLayoutLeaf;
  void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) override;
  TMFileTree* fileNode() const override { return nullptr; }
};

class TMLayoutUnscanned : public TMLayoutLeaf {
 public:
  using TMLayoutLeaf::TMLayoutLeaf;
  void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) override;
  TMFileTree* fileNode() const override { return nullptr; }
};

}  // namespace tilemora
