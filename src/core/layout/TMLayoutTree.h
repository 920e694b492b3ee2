// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A split node: the treemap algorithm. A list of nodes, largest first, is
// dealt into two sides so that the first holds the largest nodes until they
// make up at least half of the total; the split position is the first
// side's share, and a side of two or more nodes is split again the same way.
// Whether the width or the height is divided is decided each time the node
// is drawn or searched, from the shape of the rectangle it gets then.

#include <memory>
#include <span>
#include <vector>

#include "TMLayoutNode.h"

namespace tilemora {

class TMLayoutTree : public TMLayoutNode {
 public:
  static constexpr float kUnsplit = -40.0f;
  static constexpr int32_t kStacked = 1;     // the height is divided
  static constexpr int32_t kSideBySide = 2;  // the width is divided

  // initWithFileList:andTotalSize: — the split constructor. `list` must not
  // be empty; the nodes it places are owned from then on, the others go
  // away with the list.
  TMLayoutTree(std::vector<std::unique_ptr<TMLayoutNode>> list, uint64_t totalSize);
  // The same over a range of a list whose owner keeps what is not placed.
  TMLayoutTree(std::span<std::unique_ptr<TMLayoutNode>> list, uint64_t totalSize);
  // The split of a folder laid out when looked at: `files` (its children
  // that have a layout, none empty, largest first, held by the folder) are
  // dealt now, and the layouts of each side made when the split is first
  // entered, `levelsLeft` folder levels deep with the folder's own. A
  // huge folder thus costs a node per tile drawn, not per file.
  TMLayoutTree(std::span<TMFileTree* const> files, uint64_t totalSize, int32_t levelsLeft);
  ~TMLayoutTree() override;

  // 2 when the width is strictly greater than the height, else 1 (NaN too).
  static int32_t computeOrientationWithWidth(double width, double height);
  // Turns two copies of the node's rectangle into those of left and right.
  void splitRectangles(TMRect& first, TMRect& second) const;
  // What every walk does at a split node: recomputes the orientation for
  // `bounds`, then splits it into the rectangles of left and right.
  void orientAndSplit(const TMRect& bounds, TMRect& first, TMRect& second);

  void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) override;
  TMLayoutNode* getNodeConforming(const TMLayoutPredicate& predicate, TMDrawInfo_t& info,
                                  const TMRect& bounds) override;
  // The side, at any depth of this split tree, that holds the layout of
  // `file` (a leaf or folder, never a split node); null when none does.
  std::unique_ptr<TMLayoutNode>* slotOf(const TMFileTree* file);
  // gatherChild: — moves the leaves and folders this split tree places,
  // left before right, into `list`; the split nodes are left empty.
  void gatherChild(TMRetiredLayoutNodes& list);

  // The left side's file node, else the right side's.
  TMFileTree* fileNode() const override;
  // The tallies of both sides, kept with the wheel for the next frames.
  void addToAreaTally(TMColorWheel& wheel, TMAreaTally& tally) const override;
  bool isSplitNode() const override { return true; }

  // Makes the layouts of the sides still waiting to be made (see above).
  void layOutSides();
  // The same through the whole split tree: what works on every node placed
  // (a deletion, a refresh) wants them all.
  void layOutAllSides();
  // Lets go of the sides not made yet, through the whole split tree: true
  // when there were some.
  bool dropSidesNotLaidOut();
  // Whether `slot` (a place in the list of files of the folder this split
  // belongs to) may be placed by this split: always when its sides are
  // made, else when one of them holds that place.
  bool mayPlace(TMFileTree* const* slot) const;

  // The sides as far as they are made.
  TMLayoutNode* left() const { return left_.get(); }
  TMLayoutNode* right() const { return right_.get(); }
  float splitPos() const { return splitPos_; }
  int32_t orientation() const { return orientation_; }
  bool isSplit() const { return splitPos_ >= 0.0f && splitPos_ <= 1.0f; }

  // The leaves and folders this split tree places, left before right.
  void collectPlaced(std::vector<TMLayoutNode*>& placed) const;
  // Splits again what it places, by their sizes now, within `totalSize`;
  // false (nothing changed) when one of them would no longer be placed.
  bool splitAgain(uint64_t totalSize);

 private:
  // The sides of a split whose layouts are not made yet.
  struct WaitingSides {
    std::span<TMFileTree* const> left, right;
    uint64_t leftTotal, rightTotal;
    int32_t levelsLeft;
  };
  bool hasLeft() const { return left_ || (waiting_ && !waiting_->left.empty()); }
  bool hasRight() const { return right_ || (waiting_ && !waiting_->right.empty()); }

  std::unique_ptr<TMLayoutNode> left_;
  std::unique_ptr<TMLayoutNode> right_;
  float splitPos_ = kUnsplit;
  int32_t orientation_ = 0;  // the two low bits hold the last computed orientation
  std::unique_ptr<WaitingSides> waiting_;
};

}  // namespace tilemora
