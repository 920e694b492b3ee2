#pragma once
// A folder in the layout: a filled rectangle with a title band (name, and
// size when there is room) and its contents inset inside it, laid out by the
// split tree it owns.

#include <memory>
#include <vector>

#include "TMLayoutLeaf.h"

namespace tilemora {

class TMLayoutFolder : public TMLayoutLeaf {
 public:
  // initWithFileList:forNode:andTotalSize: — `list` holds the layouts of the
  // folder's children, largest first; those the split places are kept.
  TMLayoutFolder(std::vector<std::unique_ptr<TMLayoutNode>> list, TMFileTree* node,
                 uint64_t totalSize);

  // The title band text.
  void drawNodeText(TMDrawInfo_t& info, const TMRect& bounds);
  // Turns the folder's rectangle into the rectangle of its contents: 3 px in
  // from the left, right and bottom, 13 px below the top.
  void cropSubRectangle(TMRect& bounds, const TMDrawInfo_t& info) const;

  TMLayoutNode* getNodeConforming(const TMLayoutPredicate& predicate, TMDrawInfo_t& info,
                                  const TMRect& bounds) override;
  void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) override;

  // The split tree of the contents; null once emptied by a deletion.
  TMLayoutNode* child() const { return child_.get(); }

 private:
  std::unique_ptr<TMLayoutNode> child_;
};

}  // namespace tilemora
