// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutLeaf.h"

#include "TMBlockSizes.h"
#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"
#include "core/filetree/TMFileTree.h"
#include "core/drawing/TMSizeFormatter.h"

namespace tilemora {

uint64_t TMLayoutLeaf::nodeSize() const { return fileNode_->diskSize(); }

bool TMLayoutLeaf::textDrawableInBounds(const TMRect& r, const TMDrawInfo_t& info) const {
  // Both tests scale by the pixel height, the width test included.
  return r.height >= blockSizes.textHeight * info.pixelHeight &&
         r.width >= blockSizes.minTextWidth * info.pixelHeight;
}

const TMColor* TMLayoutLeaf::fillColor(const TMDrawInfo_t& info) const {
  if (info.selection.paintsSelected(fileNode_)) return info.colorWheel->getSelectionColor();
  return fileNode_->kind() == TMNodeKind::File ? info.colorWheel->getFileColor(*fileNode_)
                                               : info.colorWheel->getLevelColor();
}

void TMLayoutLeaf::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  info.gatherer->addRectangle(bounds, fillColor(info));
  drawFileName(info, bounds);
}

void TMLayoutLeaf::drawFileName(TMDrawInfo_t& info, const TMRect& r) {
  if (!textDrawableInBounds(r, info)) return;
  TMRect text;
  text.x = r.x + blockSizes.textInset * info.pixelWidth;
  text.y = r.y + (1 + blockSizes.folderBottomInset) * info.pixelHeight;
  text.height = r.height / info.pixelHeight - (blockSizes.folderBottomInset + blockSizes.textGap);
  text.width = r.width;
  addNameAndSizeTexts(info, r, text);
}

void TMLayoutLeaf::addNameAndSizeTexts(TMDrawInfo_t& info, const TMRect& r, TMRect text) const {
  TMGeometryGatherer& gatherer = *info.gatherer;
  std::string name(fileNode_->filename());
  if (r.width > (blockSizes.minTextWidth + blockSizes.sizeTextWidth) * info.pixelWidth) {
    std::string size = TMSizeFormatter::sharedInstance().formatSize(fileNode_->diskSize());
    double sizeWidth = gatherer.evaluateStringWidth(size);
    text.width = r.width - (sizeWidth + blockSizes.textInset) * info.pixelWidth;
    gatherer.addText(std::move(name), text, &r);
    text.x += text.width;
    gatherer.addText(std::move(size), text, &r);
  } else {
    text.width = r.width - 2 * blockSizes.textInset * info.pixelWidth;
    gatherer.addText(std::move(name), text, &r);
  }
}

TMLayoutNode* TMLayoutLeaf::getNodeConforming(const TMLayoutPredicate& predicate,
                                              TMDrawInfo_t& info, const TMRect& bounds) {
  if (!predicate(*this, info, bounds)) return nullptr;
  info.selection.url.append(fileNode_->filename());
  info.selection.layout = this;
  info.selection.isFile = 1;
  info.selection.rect = bounds;
  return this;
}

}  // namespace tilemora
