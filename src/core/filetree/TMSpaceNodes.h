// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nodes that stand for space rather than for a file: a node whose size is
// set again after creation, and a volume's free space and unscanned space.

#include "TMFileTree.h"

namespace tilemora {

// A node whose size its owner replaces after creation.
class TMDynamicFileTree : public TMFileTree {
 public:
  using TMFileTree::TMFileTree;
  // Space has one size, whatever the tree is measured by (its other size
  // is told as no difference from it).
  void updateDiskSize(uint64_t size) { setDiskSize(size); }

 protected:
  TMDynamicFileTree(uint64_t size, TMNodeKind kind) : TMFileTree(size, kind) {}
};

// The free space of a volume, named by the localized "EmptySpace" text.
class TMEmptyNode : public TMFileTree {
 public:
  // initWithFileSize: — a node named by the localized "EmptySpace" text.
  static TMEmptyNode* initWithFileSize(TMNodeArena& arena, uint64_t freeSize);
  explicit TMEmptyNode(uint64_t freeSize) : TMFileTree(freeSize, TMNodeKind::EmptySpace) {}
  // The free space measured again (files came or went since).
  void updateFreeSize(uint64_t freeSize) { setDiskSize(freeSize); }
};

// The used space of a volume that the scan has not accounted for, named by
// the localized "UnscannedSpace" text; size 0 until its volume sets it.
class TMUnscannedTree : public TMDynamicFileTree {
 public:
  // init — a node named by the localized "UnscannedSpace" text, size 0.
  static TMUnscannedTree* init(TMNodeArena& arena);
  TMUnscannedTree() : TMDynamicFileTree(0, TMNodeKind::UnscannedSpace) {}
};

}  // namespace tilemora
