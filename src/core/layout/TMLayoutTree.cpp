// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutTree.h"

#include <algorithm>

#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"
#include "core/filetree/TMFileTree.h"
#include "core/platform/TMAssert.h"

namespace tilemora {

namespace {

using NodeRange = std::span<std::unique_ptr<TMLayoutNode>>;

std::unique_ptr<TMLayoutNode> sideFrom(NodeRange side, uint64_t total) {
  if (side.empty()) return nullptr;
  if (side.size() == 1) return std::move(side.front());
  return std::make_unique<TMLayoutTree>(side, total);
}

// A part of a total as a split position: single precision, never above 1.
float shareOf(uint64_t part, uint64_t total) {
  return std::min(1.0f, float(double(part)) / float(double(total)));
}

// One walk over a list: its nodes of some size, and how they are dealt.
struct Dealing {
  size_t laidOut = 0;      // nodes of some size, before the first empty one
  size_t firstCount = 0;   // of those, the run dealt to the first side
  uint64_t firstSum = 0;
  uint64_t lastFirstSize = 0;
  uint64_t sum = 0;        // the sizes as read now, each read once
  bool unordered = false;  // an empty node stands before one of some size
};

// Deals the nodes in order: the first side takes them while its sum is
// below half the total (or still 0), the second side every node after
// that. Empty nodes take no area; the walk only passes over them when they
// all stand at the end (as in a sorted list).
Dealing deal(NodeRange list, uint64_t totalSize) {
  const uint64_t half = totalSize >> 1;
  Dealing walk;
  bool emptySeen = false;
  for (size_t i = 0; i < list.size(); ++i) {
    const uint64_t size = list[i]->nodeSize();
    if (size == 0) {
      emptySeen = true;
      continue;
    }
    if (emptySeen) {
      walk.unordered = true;
      return walk;
    }
    walk.laidOut = i + 1;
    walk.sum += size;
    // Tested before adding, so the node that carries the sum past half
    // still goes first.
    if (walk.firstSum < half || walk.firstSum == 0) {
      walk.firstSum += size;
      walk.firstCount = i + 1;
      walk.lastFirstSize = size;
    }
  }
  return walk;
}

}  // namespace

TMLayoutTree::TMLayoutTree(std::vector<std::unique_ptr<TMLayoutNode>> list, uint64_t totalSize)
    : TMLayoutTree(NodeRange(list), totalSize) {}

TMLayoutTree::TMLayoutTree(NodeRange list, uint64_t totalSize) {
  const size_t subSize = list.size();
  if (subSize == 1) {
    // A lone node takes its share; bytes of children left out of the
    // layout stay unfilled.
    const uint64_t size = list.front()->nodeSize();
    left_ = std::move(list.front());
    splitPos_ = size >= totalSize ? 1.0f : shareOf(size, totalSize);
    return;
  }
  TM_ASSERT(subSize > 0);

  Dealing walk = deal(list, totalSize);
  if (walk.unordered) {
    // A list in listing order (a folder still being scanned): its empty
    // nodes go to the end, so that none hides what follows it.
    std::stable_partition(list.begin(), list.end(), [](const auto& node) { return node->nodeSize() != 0; });
    walk = deal(list, totalSize);
  }
  if (walk.laidOut == 0) return;  // nothing but empty nodes: unsplit, nothing placed

  // Sizes read after the total (a scan still adding) may exceed it: the
  // total is at least what the nodes hold, so no share passes 1.
  const uint64_t total = std::max(totalSize, walk.sum);
  size_t firstCount = walk.firstCount;
  uint64_t firstSum = walk.firstSum;
  if (firstCount == walk.laidOut && firstSum == total && firstCount > 1) {
    // All dealt first, filling the total (small nodes before a big one in
    // listing order): the last goes second, so that the split divides.
    --firstCount;
    firstSum -= walk.lastFirstSize;
  }
  // When all nodes fall short of the total (bytes of children left out of
  // the layout), the first side holds them all and the rest stays unfilled.
  splitPos_ = shareOf(firstSum, total);
  left_ = sideFrom(list.subspan(0, firstCount), firstSum);
  right_ = sideFrom(list.subspan(firstCount, walk.laidOut - firstCount), total - firstSum);
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
  if (!isSplit()) return;
  if (!drawableWithInfo(info, bounds)) {
    // Too small to enter, but on screen: what it places is filled in the
    // colour its nodes would take, as one rectangle, so a folder
    // of many small files reads as full. A side left empty (bytes not
    // laid out yet) stays unfilled.
    if ((!left_ && !right_) || !meetsVisibleArea(info, bounds)) return;
    TMRect filled = bounds;
    if (!left_ || !right_) {
      TMRect first, second;
      orientAndSplit(bounds, first, second);
      filled = left_ ? first : second;
    }
    info.gatherer->addRectangle(filled, areaColor(*info.colorWheel), TMRectStyle::kPlain);
    return;
  }
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

void TMLayoutTree::addToAreaTally(TMColorWheel& wheel, TMAreaTally& tally) const {
  if (wheel.fileColoring() == nullptr) {
    // By depth, the run's largest item, its first, tells the level: a walk
    // of every item each frame would double the cost of a zoom, and the
    // default mode keeps nothing.
    if (const TMFileTree* largest = fileNode()) tally.addByDepth(*largest, 1);
    return;
  }
  if (const TMAreaTally* kept = wheel.areaTallies().find(this)) {
    tally.add(*kept);
    return;
  }
  TMAreaTally sides;
  if (left_) left_->addToAreaTally(wheel, sides);
  if (right_) right_->addToAreaTally(wheel, sides);
  tally.add(wheel.areaTallies().keep(this, sides));
}

TMFileTree* TMLayoutTree::fileNode() const {
  TMFileTree* file = left_ ? left_->fileNode() : nullptr;
  if (file == nullptr && right_) file = right_->fileNode();
  return file;
}

}  // namespace tilemora
