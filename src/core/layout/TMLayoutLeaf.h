// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A layout leaf stands for one file (or a folder laid out like a file): a
// filled rectangle with its name, and its size when there is room.

#include "TMLayoutNode.h"

namespace tilemora {

struct TMColor;

class TMLayoutLeaf : public TMLayoutNode {
 public:
  // initWithFile: — `file` is not owned; it must outlive this leaf.
  explicit TMLayoutLeaf(TMFileTree* file) : fileNode_(file) {}

  // Whether a text fits: at least 10 px high and 40 px wide, both measured
  // in vertical pixels.
  bool textDrawableInBounds(const TMRect& bounds, const TMDrawInfo_t& info) const;

  TMLayoutNode* getNodeConforming(const TMLayoutPredicate& predicate, TMDrawInfo_t& info,
                                  const TMRect& bounds) override;
  void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) override;
  TMFileTree* fileNode() const override { return fileNode_; }
  uint64_t nodeSize() const override;

  // The name (and size) inside the leaf, along its top.
  void drawFileName(TMDrawInfo_t& info, const TMRect& bounds);

 protected:
  // The selection colour for the selected node, else the wheel's level colour.
  const TMColor* fillColor(const TMDrawInfo_t& info) const;
  // Adds the name, and the size text beside it when `bounds` is wider than
  // 80 px, starting from the text rectangle `text` whose width is bounds'.
  void addNameAndSizeTexts(TMDrawInfo_t& info, const TMRect& bounds, TMRect text) const;

  // The node drawn and named; free and unscanned space keep theirs here
  // while fileNode() answers none for them.
  TMFileTree* fileNode_;
};

}  // namespace tilemora
