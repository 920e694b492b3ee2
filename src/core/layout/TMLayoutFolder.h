// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder in the layout: a filled rectangle with a title band (name, and
// size when there is room) and its contents inset inside it, laid out by the
// split tree it owns.

#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "TMLayoutLeaf.h"

namespace tilemora {

class TMLayoutFolder : public TMLayoutLeaf {
 public:
  // initWithFileList:forNode:andTotalSize: — `list` holds the layouts of the
  // folder's children, largest first; those the split places are kept.
  TMLayoutFolder(std::vector<std::unique_ptr<TMLayoutNode>> list, TMFileTree* node,
                 uint64_t totalSize);
  // A folder whose contents are laid out when first looked at (drawn big
  // enough to enter, or searched), `levelsLeft` folder levels deep with its
  // own: until then it holds nothing but itself.
  TMLayoutFolder(TMFileTree* node, int32_t levelsLeft);
  ~TMLayoutFolder() override;

  // The title band text.
  void drawNodeText(TMDrawInfo_t& info, const TMRect& bounds);
  // Turns the folder's rectangle into the rectangle of its contents: 3 px in
  // from the left, right and bottom, 13 px below the top.
  void cropSubRectangle(TMRect& bounds, const TMDrawInfo_t& info) const;
  // The fill of the folder when it is too small to enter: what it holds
  // shows, as its files would (see TMAreaTally.h), the wheel being at the
  // folder's own level.
  const TMColor* contentsColor(TMColorWheel& wheel) const;

  TMLayoutNode* getNodeConforming(const TMLayoutPredicate& predicate, TMDrawInfo_t& info,
                                  const TMRect& bounds) override;
  void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) override;

  // The layout this folder's split tree places for `file`, if any.
  TMLayoutNode* laidOutChild(const TMFileTree* file);
  // Cuts the layout of `file` out of the split tree, leaving its area empty
  // until rebalance(); it is kept while this folder lives. False when
  // `file` has no layout here.
  bool cutOut(const TMFileTree* file);
  // Rebuilds the split tree from the nodes it places and the folder's size
  // now, when the folder still counts two or more children; with none of
  // them laid out, the folder is left with an empty interior.
  void rebalance();

  // Lays out the folder's children again after they changed on disk: the
  // layouts of children still there are kept (those in `changed` that are
  // folders laid out as folders having been refilled already), those of
  // new children or of changed folders not laid out as folders are made
  // (down to `maxDepth`, this folder being at `depth`; their own contents
  // when looked at), those of children that went are kept aside, and the
  // split tree is built from the sizes now. A folder not in `regrouped`
  // kept its children: only those that changed move, in time in
  // proportion to its children (no hashing of each). A folder whose
  // contents were never laid out is left so: they will be made from the
  // files as they are then.
  void refill(const std::unordered_set<const TMFileTree*>& changed, const std::unordered_set<const TMFileTree*>& regrouped, int32_t maxDepth,
              int32_t depth);

  // The split tree of the contents, laid out now if it was not yet; null
  // once emptied by a deletion.
  TMLayoutNode* contents();
  // The split tree of the contents as far as it is laid out: null too
  // while it waits to be looked at.
  TMLayoutNode* child() const { return child_.get(); }
  // Whether the contents have been laid out (or were given).
  bool laidOut() const { return levelsLeft_ == kLaidOut; }
  // Where the child named `name` is in the list of files the contents were
  // laid out from (see TMLayoutTree::mayPlace), or null.
  TMFileTree* const* placeOf(std::string_view name) const;

 private:
  static constexpr int32_t kLaidOut = -1;

  TMRetiredLayoutNodes& retiredHere();
  std::unique_ptr<TMLayoutNode>* slotOf(const TMFileTree* file);
  // Makes every layout of the split tree still waiting to be made, from
  // the files listed when the contents were laid out.
  void layOutAllContents();

  std::unique_ptr<TMLayoutNode> child_;
  // What deletions cut out below this folder, kept while the tree lives.
  std::unique_ptr<TMRetiredLayoutNodes> retired_;
  // The children the split tree was dealt from, while sides of it wait.
  std::unique_ptr<std::vector<TMFileTree*>> files_;
  // The folder levels its contents take when laid out, or kLaidOut.
  int32_t levelsLeft_ = kLaidOut;
};

}  // namespace tilemora
