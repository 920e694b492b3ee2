// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A node of the layout tree: the treemap proper, built from the file tree to
// a chosen depth. Folders own a two-way split tree over their children;
// leaves point at file tree nodes without owning them, so a layout tree must
// be dropped before the file tree it was built from.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "TMDrawInfo.h"

namespace tilemora {

class TMColorWheel;
class TMFileTree;
struct TMAreaTally;
struct TMColor;
class TMFileTreePath;
class TMLayoutFolder;
class TMLayoutNode;

// Layout nodes cut out of a tree by deletions. They are kept, not freed, for
// as long as the tree lives: the view's states may still hold them.
using TMRetiredLayoutNodes = std::vector<std::unique_ptr<TMLayoutNode>>;

// Asked at every node of a search walk whether to go on into it.
using TMLayoutPredicate =
    std::function<bool(TMLayoutNode& node, TMDrawInfo_t& info, const TMRect& bounds)>;

class TMLayoutNode {
 public:
  virtual ~TMLayoutNode() = default;

  // In the arena of the thread's open TMLayoutArena::Scope, if any; a node
  // placed in an arena is destroyed but not freed (see TMLayoutArena.h).
  static void* operator new(std::size_t bytes);
  static void operator delete(void* node, std::size_t bytes);

  // Whether a node in `bounds` is at least 7 × 7 view pixels and meets the
  // visible rectangle (touching counts; NaN fails).
  bool drawableWithInfo(const TMDrawInfo_t& info, const TMRect& bounds) const;
  // Whether a node in `bounds` meets the visible rectangle, at any size.
  bool meetsVisibleArea(const TMDrawInfo_t& info, const TMRect& bounds) const;

  // The size that orders and splits nodes: 0 here.
  virtual uint64_t nodeSize() const { return 0; }

  // The generic search: walks like drawing and answers the first node that
  // the predicate leads to, filling `info.selection`. Nothing here.
  virtual TMLayoutNode* getNodeConforming(const TMLayoutPredicate& predicate, TMDrawInfo_t& info,
                                          const TMRect& bounds);

  // Hands this node and everything below it to the frame's gatherer.
  virtual void drawGeometry(TMDrawInfo_t& info, const TMRect& bounds);

  // Adds what this node shows to `tally` as an item of a run of tiles too
  // small to draw (see TMAreaTally.h): by the wheel's colouring, every file
  // below its file node; by depth, its bytes as a file or as a folder.
  virtual void addToAreaTally(TMColorWheel& wheel, TMAreaTally& tally) const;
  // The fill of such a run, its items being at the wheel's current level.
  const TMColor* areaColor(TMColorWheel& wheel) const;

  // The node named by `parts` (path components), `beginningAt` being the
  // index of this node's own name.
  TMLayoutNode* getNodeAtPathParts(const std::vector<std::string>& parts, int32_t beginningAt,
                                   TMDrawInfo_t& info, const TMRect& bounds);
  // The deepest drawable node under `point` (virtual coordinates).
  TMLayoutNode* getNodeAtPoint(const TMPoint& point, TMDrawInfo_t& info, const TMRect& bounds);

  // The file tree node this layout node stands for, if any.
  virtual TMFileTree* fileNode() const { return nullptr; }

  // deleteNode:atUrl:atPart: — removes the target of `path`, resolved
  // from `root`'s file node before the file tree deleted it, from the layout
  // in place: it is cut out of the split tree that holds it, and every
  // folder on the way rebuilds its split tree from its new size. What is
  // cut out is kept by the folder it was cut from. Answers the layout of
  // the target's folder, null when that is not laid out (or the target is
  // `root` itself, which its holder drops).
  static TMLayoutFolder* deleteNode(TMLayoutNode& root, const TMFileTreePath& path);

  // Lays out again, in place, the folders of `changed` (files came, went or
  // changed size in them or below; in those of `regrouped`, children came
  // or went) and the volume above them, if any, deepest first; `root` stays the same object, as the view's states name
  // it. False when that cannot be done in place (the root is no folder
  // laid out as one, or a volume's space would leave the map): the whole
  // layout is then to be built again.
  static bool refreshInPlace(TMLayoutNode& root, const std::unordered_set<const TMFileTree*>& changed,
                             const std::unordered_set<const TMFileTree*>& regrouped, int32_t maxDepth);

  // Split nodes are passed through by path searches.
  virtual bool isSplitNode() const { return false; }
};

// Orders layout nodes largest first by nodeSize: -1 when a is larger, +1
// when smaller, 0 when equal.
int TmLayoutNodeComparer(const TMLayoutNode& a, const TMLayoutNode& b);

}  // namespace tilemora
