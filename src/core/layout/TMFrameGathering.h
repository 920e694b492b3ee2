// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gathering one frame of a layout: the steps every painter of the map shares
// (the desktop view, the PNG export, the benchmarks).

#include <cstdint>

#include "TMLayoutNode.h"
#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"

namespace tilemora {

// Room for the rectangles of a view of `width` × `height` points: one per
// cell of the smallest drawable node size, a starting size (the gatherer
// grows when a frame needs more).
int32_t gathererCapacityFor(double width, double height);

// The drawing record of a frame the gatherer has started: pixel sizes from
// its mapping, `selectedFile` (if any) in the selection colour, and
// `selectedLayout` too when it is free or unscanned space (no file).
TMDrawInfo_t drawInfoFor(TMGeometryGatherer& gatherer, TMColorWheel& wheel, const TMRect& visible,
                         TMFileTree* selectedFile = nullptr, const TMFileURL& selectedUrl = TMFileURL(),
                         TMLayoutNode* selectedLayout = nullptr);

// Lays `layout` over `canvas`, gathers what meets `visible` into
// `gatherer`, with the selection (if any) in the selection colour, and
// the items selected beside it (`alsoSelected`) alike.
void gatherFrame(TMLayoutNode& layout, TMGeometryGatherer& gatherer, TMColorWheel& wheel,
                 const TMRect& canvas, const TMRect& visible, TMFileTree* selectedFile = nullptr,
                 const TMFileURL& selectedUrl = TMFileURL(), TMLayoutNode* selectedLayout = nullptr,
                 const std::unordered_set<const TMFileTree*>* alsoSelected = nullptr);

}  // namespace tilemora
