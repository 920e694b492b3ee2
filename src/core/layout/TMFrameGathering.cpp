// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFrameGathering.h"

#include "TMBlockSizes.h"

namespace tilemora {

int32_t gathererCapacityFor(double width, double height) {
  return int32_t(width / blockSizes.minNodeWidth + 1) * int32_t(height / blockSizes.minNodeHeight + 1);
}

TMDrawInfo_t drawInfoFor(TMGeometryGatherer& gatherer, TMColorWheel& wheel, const TMRect& visible,
                         TMFileTree* selectedFile, const TMFileURL& selectedUrl,
                         TMLayoutNode* selectedLayout) {
  TMDrawInfo_t info;
  info.visibleArea = &visible;
  info.gatherer = &gatherer;
  info.pixelWidth = gatherer.virtualPixelWidthSize();
  info.pixelHeight = gatherer.virtualPixelHeightSize();
  info.selection.file = selectedFile;
  info.selection.url = selectedUrl;
  info.selection.layout = selectedLayout;
  info.colorWheel = &wheel;
  return info;
}

void gatherFrame(TMLayoutNode& layout, TMGeometryGatherer& gatherer, TMColorWheel& wheel,
                 const TMRect& canvas, const TMRect& visible, TMFileTree* selectedFile,
                 const TMFileURL& selectedUrl, TMLayoutNode* selectedLayout,
                 const std::unordered_set<const TMFileTree*>* alsoSelected) {
  gatherer.startGathering(canvas, visible);
  TMDrawInfo_t info = drawInfoFor(gatherer, wheel, visible, selectedFile, selectedUrl, selectedLayout);
  info.selection.alsoSelected = alsoSelected;
  layout.drawGeometry(info, canvas);
  gatherer.stopGathering();
}

}  // namespace tilemora
