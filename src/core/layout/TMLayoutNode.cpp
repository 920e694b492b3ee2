// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutNode.h"

#include <new>

#include "TMBlockSizes.h"
#include "TMLayoutArena.h"
#include "TMLayoutFolder.h"
#include "TMLayoutTree.h"
#include "core/drawing/TMColorWheel.h"
#include "core/filetree/TMFileTree.h"

namespace tilemora {

void* TMLayoutNode::operator new(std::size_t bytes) {
  if (TMLayoutArena* arena = TMLayoutArena::current()) return arena->allocate(bytes);
  return ::operator new(bytes);
}

void TMLayoutNode::operator delete(void* node, std::size_t bytes) {
  if (!TMLayoutArena::contains(node)) ::operator delete(node, bytes);
}

bool TMLayoutNode::drawableWithInfo(const TMDrawInfo_t& info, const TMRect& r) const {
  return r.width >= blockSizes.minNodeWidth * info.pixelWidth &&
         r.height >= blockSizes.minNodeHeight * info.pixelHeight && meetsVisibleArea(info, r);
}

bool TMLayoutNode::meetsVisibleArea(const TMDrawInfo_t& info, const TMRect& r) const {
  const TMRect& v = *info.visibleArea;
  return v.y + v.height >= r.y && v.x + v.width >= r.x && r.x + r.width >= v.x && r.y + r.height >= v.y;
}

TMLayoutNode* TMLayoutNode::getNodeConforming(const TMLayoutPredicate&, TMDrawInfo_t&,
                                              const TMRect&) {
  return nullptr;
}

void TMLayoutNode::drawGeometry(TMDrawInfo_t&, const TMRect&) {}

void TMLayoutNode::addToAreaTally(TMColorWheel& wheel, TMAreaTally& tally) const {
  const TMFileTree* file = fileNode();
  if (file == nullptr) return;
  if (wheel.fileColoring() != nullptr) {
    tally.add(wheel.areaTallies().ofFiles(*file, *wheel.fileColoring()));
  } else {
    tally.addByDepth(*file, file->diskSize());
  }
}

const TMColor* TMLayoutNode::areaColor(TMColorWheel& wheel) const {
  TMAreaTally tally;
  if (wheel.talliesAreas()) addToAreaTally(wheel, tally);
  return wheel.getAreaColor(tally);
}

TMLayoutNode* TMLayoutNode::getNodeAtPoint(const TMPoint& p, TMDrawInfo_t& info,
                                           const TMRect& bounds) {
  return getNodeConforming(
      [&p](TMLayoutNode& node, TMDrawInfo_t& i, const TMRect& r) {
        return r.x <= p.x && r.y <= p.y && p.x <= r.x + r.width && p.y <= r.y + r.height &&
               node.drawableWithInfo(i, r);
      },
      info, bounds);
}

TMLayoutNode* TMLayoutNode::getNodeAtPathParts(const std::vector<std::string>& parts,
                                               int32_t beginningAt, TMDrawInfo_t& info,
                                               const TMRect& bounds) {
  // One name per folder level; the counter is shared by the whole walk.
  int64_t k = beginningAt;
  // Where the next name is among the files of the folder last entered: a
  // split goes on only into sides that may hold it, so that a search lays
  // out one path through a big folder, not the whole of it.
  TMFileTree* const* place = nullptr;
  return getNodeConforming(
      [&parts, &k, &place](TMLayoutNode& node, TMDrawInfo_t&, const TMRect&) {
        TMFileTree* file = node.fileNode();
        if (uint64_t(k) >= parts.size()) return false;
        if (node.isSplitNode()) return static_cast<TMLayoutTree&>(node).mayPlace(place);
        if (file != nullptr && parts[size_t(k)] == file->filename()) {
          ++k;
          auto* folder = dynamic_cast<TMLayoutFolder*>(&node);
          if (folder != nullptr && uint64_t(k) < parts.size()) {
            folder->contents();
            place = folder->placeOf(parts[size_t(k)]);
          }
          return true;
        }
        return false;
      },
      info, bounds);
}

int TmLayoutNodeComparer(const TMLayoutNode& a, const TMLayoutNode& b) {
  uint64_t sizeA = a.nodeSize();
  uint64_t sizeB = b.nodeSize();
  if (sizeA < sizeB) return 1;
  if (sizeA > sizeB) return -1;
  return 0;
}

}  // namespace tilemora
