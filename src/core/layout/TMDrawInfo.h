// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record passed by reference through every drawing and search walk of
// a layout tree.

#include <cstdint>
#include <unordered_set>

#include "core/drawing/TMGeometry.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMColorWheel;
class TMFileTree;
class TMGeometryGatherer;
class TMLayoutNode;

struct TMSelectionInfo_t {
  // Drawing: the selected node's file node, painted in the selection colour.
  // Searching: set to the found folder's file node.
  TMFileTree* file = nullptr;
  // Drawing: the selected node, which free and unscanned space (having no
  // file node) compare with. Searching: the node found.
  TMLayoutNode* layout = nullptr;
  // Drawing: the selection's URL. Searching: the start node's URL on entry,
  // the found node's URL on return.
  TMFileURL url;
  TMRect rect;                     // searching: the found node's rectangle
  uint8_t isFile = 0;              // searching: 1 for a leaf, 0 for a folder
  // Drawing: the other items selected beside it, painted alike; null when
  // only one is.
  const std::unordered_set<const TMFileTree*>* alsoSelected = nullptr;

  // Drawing: whether `node` is painted in the selection colour.
  bool paintsSelected(const TMFileTree* node) const {
    return node == file || (alsoSelected != nullptr && node != nullptr && alsoSelected->count(node) != 0);
  }
};

struct TMDrawInfo_t {
  const TMRect* visibleArea = nullptr;     // the part of the canvas shown
  TMGeometryGatherer* gatherer = nullptr;  // null while searching
  double pixelWidth = 1;                   // virtual width of one view pixel
  double pixelHeight = 1;                  // virtual height of one view pixel
  TMSelectionInfo_t selection;
  TMColorWheel* colorWheel = nullptr;      // null while searching
  int32_t depth = 0;                       // folder levels a search has entered
};

}  // namespace tilemora
