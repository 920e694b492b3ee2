// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutTree.h"

#include <algorithm>
#include <utility>

#include "TMLayoutArena.h"
#include "TMLayoutBuilding.h"
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
template <typename SizeAt>
Dealing deal(size_t count, SizeAt sizeAt, uint64_t totalSize) {
  const uint64_t half = totalSize >> 1;
  Dealing walk;
  bool emptySeen = false;
  for (size_t i = 0; i < count; ++i) {
    const uint64_t size = sizeAt(i);
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

Dealing deal(NodeRange list, uint64_t totalSize) {
  return deal(list.size(), [list](size_t i) { return list[i]->nodeSize(); }, totalSize);
}

// The run dealt to the first side, moved back by one when all fill the
// total (small nodes before a big one in listing order), so that the split
// divides.
void keepSecondSide(const Dealing& walk, uint64_t total, size_t& firstCount, uint64_t& firstSum) {
  firstCount = walk.firstCount;
  firstSum = walk.firstSum;
  if (firstCount == walk.laidOut && firstSum == total && firstCount > 1) {
    --firstCount;
    firstSum -= walk.lastFirstSize;
  }
}

// A waiting side's layout: the file's own when it is alone, else a split
// of its files, itself waiting.
std::unique_ptr<TMLayoutNode> sideOf(std::span<TMFileTree* const> files, uint64_t total, int32_t levelsLeft) {
  if (files.empty()) return nullptr;
  if (files.size() == 1) return createLayoutTree(*files.front(), levelsLeft, 1, TMLayoutBuilt::kWhenLookedAt);
  return std::make_unique<TMLayoutTree>(files, total, levelsLeft);
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
  size_t firstCount = 0;
  uint64_t firstSum = 0;
  keepSecondSide(walk, total, firstCount, firstSum);
  // When all nodes fall short of the total (bytes of children left out of
  // the layout), the first side holds them all and the rest stays unfilled.
  splitPos_ = shareOf(firstSum, total);
  left_ = sideFrom(list.subspan(0, firstCount), firstSum);
  right_ = sideFrom(list.subspan(firstCount, walk.laidOut - firstCount), total - firstSum);
}

TMLayoutTree::TMLayoutTree(std::span<TMFileTree* const> files, uint64_t totalSize, int32_t levelsLeft) {
  TM_ASSERT(!files.empty());
  const Dealing walk = deal(files.size(), [files](size_t i) { return files[i]->diskSize(); }, totalSize);
  if (files.size() == 1 || walk.unordered || walk.laidOut < files.size()) {
    // Alone, or sizes changed since the folder listed its files largest
    // first: the layouts are made now and dealt as any list.
    std::vector<std::unique_ptr<TMLayoutNode>> list;
    list.reserve(files.size());
    for (TMFileTree* file : files) {
      if (auto layout = createLayoutTree(*file, levelsLeft, 1, TMLayoutBuilt::kWhenLookedAt)) list.push_back(std::move(layout));
    }
    if (list.empty()) return;
    if (walk.unordered) {
      std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return TmLayoutNodeComparer(*a, *b) < 0; });
    }
    TMLayoutTree split{NodeRange(list), totalSize};
    left_ = std::move(split.left_);
    right_ = std::move(split.right_);
    splitPos_ = split.splitPos_;
    return;
  }
  const uint64_t total = std::max(totalSize, walk.sum);
  size_t firstCount = 0;
  uint64_t firstSum = 0;
  keepSecondSide(walk, total, firstCount, firstSum);
  splitPos_ = shareOf(firstSum, total);
  waiting_ = std::make_unique<WaitingSides>(
      WaitingSides{files.subspan(0, firstCount), files.subspan(firstCount), firstSum, total - firstSum, levelsLeft});
}

TMLayoutTree::~TMLayoutTree() = default;

void TMLayoutTree::layOutSides() {
  if (!waiting_) return;
  const std::unique_ptr<WaitingSides> sides = std::move(waiting_);
  // Where the split is: in its layout's arena, or on the heap.
  TMLayoutArena::Scope placing(TMLayoutArena::holding(this));
  left_ = sideOf(sides->left, sides->leftTotal, sides->levelsLeft);
  right_ = sideOf(sides->right, sides->rightTotal, sides->levelsLeft);
}

void TMLayoutTree::layOutAllSides() {
  // Split trees of skewed sizes are as deep as they are long: no recursion.
  std::vector<TMLayoutTree*> pending{this};
  while (!pending.empty()) {
    TMLayoutTree* split = pending.back();
    pending.pop_back();
    split->layOutSides();
    for (TMLayoutNode* side : {split->left_.get(), split->right_.get()}) {
      if (side != nullptr && side->isSplitNode()) pending.push_back(static_cast<TMLayoutTree*>(side));
    }
  }
}

bool TMLayoutTree::dropSidesNotLaidOut() {
  bool dropped = false;
  std::vector<TMLayoutTree*> pending{this};
  while (!pending.empty()) {
    TMLayoutTree* split = pending.back();
    pending.pop_back();
    dropped = std::exchange(split->waiting_, nullptr) != nullptr || dropped;
    for (TMLayoutNode* side : {split->left_.get(), split->right_.get()}) {
      if (side != nullptr && side->isSplitNode()) pending.push_back(static_cast<TMLayoutTree*>(side));
    }
  }
  return dropped;
}

bool TMLayoutTree::mayPlace(TMFileTree* const* slot) const {
  if (!waiting_) return true;
  auto holds = [slot](std::span<TMFileTree* const> files) {
    return !files.empty() && slot >= files.data() && slot < files.data() + files.size();
  };
  return slot != nullptr && (holds(waiting_->left) || holds(waiting_->right));
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
    if ((!hasLeft() && !hasRight()) || !meetsVisibleArea(info, bounds)) return;
    TMRect filled = bounds;
    if (!hasLeft() || !hasRight()) {
      TMRect first, second;
      orientAndSplit(bounds, first, second);
      filled = hasLeft() ? first : second;
    }
    info.gatherer->addRectangle(filled, areaColor(*info.colorWheel), TMRectStyle::kPlain);
    return;
  }
  layOutSides();
  TMRect first, second;
  orientAndSplit(bounds, first, second);
  if (left_) left_->drawGeometry(info, first);
  if (right_) right_->drawGeometry(info, second);
}

TMLayoutNode* TMLayoutTree::getNodeConforming(const TMLayoutPredicate& predicate,
                                              TMDrawInfo_t& info, const TMRect& bounds) {
  if (!predicate(*this, info, bounds) || !isSplit()) return nullptr;
  layOutSides();
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
  if (waiting_) {
    // What the waiting sides would add, item by item; the files without
    // being sorted when the colouring knows that all of the folder's own
    // files are of one kind.
    const TMFileColoring& coloring = *wheel.fileColoring();
    const size_t only = wheel.drawnFolder() != nullptr ? coloring.onlyKindOfFilesIn(*wheel.drawnFolder())
                                                       : TMAreaTally::kNone;
    for (std::span<TMFileTree* const> files : {waiting_->left, waiting_->right}) {
      for (const TMFileTree* file : files) {
        if (file->asFolder() != nullptr) {
          sides.add(wheel.areaTallies().ofFiles(*file, coloring));
        } else if (file->kind() == TMNodeKind::File) {
          sides.bytes[only != TMAreaTally::kNone ? only : coloring.kindOf(*file)] += file->diskSize();
        }
      }
    }
  }
  if (left_) left_->addToAreaTally(wheel, sides);
  if (right_) right_->addToAreaTally(wheel, sides);
  tally.add(wheel.areaTallies().keep(this, sides));
}

TMFileTree* TMLayoutTree::fileNode() const {
  if (waiting_) {
    // Largest first: the first file of the first side not empty.
    return !waiting_->left.empty() ? waiting_->left.front() : waiting_->right.front();
  }
  TMFileTree* file = left_ ? left_->fileNode() : nullptr;
  if (file == nullptr && right_) file = right_->fileNode();
  return file;
}

}  // namespace tilemora
