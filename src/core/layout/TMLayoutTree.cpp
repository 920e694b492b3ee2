#include "TMLayoutTree.h"

#include "core/platform/TMAssert.h"

namespace tilemora {

namespace {

using NodeRange = std::span<std::unique_ptr<TMLayoutNode>>;

std::unique_ptr<TMLayoutNode> sideFrom(NodeRange side, uint64_t total) {
  if (side.empty()) return nullptr;
  if (side.size() == 1) return std::move(side.front());
  return std::make_unique<TMLayoutTree>(side, total);
}

}  // namespace

TMLayoutTree::TMLayoutTree(std::vector<std::unique_ptr<TMLayoutNode>> list, uint64_t totalSize)
    : TMLayoutTree(NodeRange(list), totalSize) {}

TMLayoutTree::TMLayoutTree(NodeRange list, uint64_t totalSize) {
  const size_t subSize = list.size();
  if (subSize == 1) {
    left_ = std::move(list.front());
    splitPos_ = 1.0f;
    return;
  }
  TM_ASSERT(subSize > 0);

  // Deal the nodes in order: the first side takes them while its sum is
  // below half the total (or still 0), the second side every node after
  // that, and an empty node ends the walk. Each side is therefore a run of
  // the list, and the sides are split in place without copying.
  const uint64_t half = totalSize >> 1;
  uint64_t firstSum = 0;
  size_t firstCount = 0;
  size_t placed = 0;
  for (; placed < subSize; ++placed) {
    uint64_t size = list[placed]->nodeSize();
    if (size == 0) break;
    // Tested before adding, so the node that carries the sum past half
    // still goes first.
    if (firstSum < half || firstSum == 0) {
      firstSum += size;
      firstCount = placed + 1;
    }
  }
  // Nothing to split, or the list falls short of half the total (bytes of
  // children left out of the layout): the node stays unsplit and places
  // nothing.
  if (firstCount == 0 || firstCount == subSize) return;

  splitPos_ = totalSize == 0 ? 0.0f : float(double(firstSum)) / float(double(totalSize));
  left_ = sideFrom(list.subspan(0, firstCount), firstSum);
  right_ = sideFrom(list.subspan(firstCount, placed - firstCount), totalSize - firstSum);
}

int32_t TMLayoutTree::computeOrientationWithWidth(double width, double height) {
  return width > height ? kSideBySide : kStacked;
}

void TMLayoutTree::splitRectangles(TMRect& first, TMRect& second) const {
  switch (orientation_ & 3) {
    case kSideBySide:
      first.width = double(splitPos_) * second.width;
      second.width -= first.width;
      second.x += first.width;
      break;
    case kStacked:
      first.height = double(splitPos_) * second.height;
      second.height -= first.height;
      second.y += first.height;
      break;
    default:
      break;
  }
}

void TMLayoutTree::orientAndSplit(const TMRect& bounds, TMRect& first, TMRect& second) {
  orientation_ &= ~3;
  orientation_ |= computeOrientationWithWidth(bounds.width, bounds.height);
  first = bounds;
  second = bounds;
  splitRectangles(first, second);
}

void TMLayoutTree::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  if (!drawableWithInfo(info, bounds) || !isSplit()) return;
  TMRect first, second;
  orientAndSplit(bounds, first, second);
  if (left_) left_->drawGeometry(info, first);
  if (right_) right_->drawGeometry(info, second);
}

TMLayoutNode* TMLayoutTree::getNodeConforming(const TMLayoutPredicate& predicate,
                                              TMDrawInfo_t& info, const TMRect& bounds) {
  if (!predicate(*this, info, bounds) || !isSplit()) return nullptr;
  TMRect first, second;
  orientAndSplit(bounds, first, second);
  if (left_) {
    if (TMLayoutNode* found = left_->getNodeConforming(predicate, info, first)) return found;
  }
  return right_ ? right_->getNodeConforming(predicate, info, second) : nullptr;
}

TMFileTree* TMLayoutTree::fileNode() const {
  TMFileTree* file = left_ ? left_->fileNode() : nullptr;
  if (file == nullptr && right_) file = right_->fileNode();
  return file;
}

}  // namespace tilemora
