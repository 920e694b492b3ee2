// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutFolder.h"

#include <algorithm>
#include <utility>

#include "TMBlockSizes.h"
#include "TMLayoutArena.h"
#include "TMLayoutBuilding.h"
#include "TMLayoutTree.h"
#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMEnoughStack.h"

namespace tilemora {

TMLayoutFolder::TMLayoutFolder(std::vector<std::unique_ptr<TMLayoutNode>> list, TMFileTree* node,
                               uint64_t totalSize)
    : TMLayoutLeaf(node), child_(std::make_unique<TMLayoutTree>(std::move(list), totalSize)) {}

TMLayoutFolder::TMLayoutFolder(TMFileTree* node, int32_t levelsLeft) : TMLayoutLeaf(node), levelsLeft_(levelsLeft) {}

TMLayoutNode* TMLayoutFolder::contents() {
  if (laidOut()) return child_.get();
  const int32_t levels = std::exchange(levelsLeft_, kLaidOut);
  TMFolderTree* folder = fileNode_->asFolder();
  const TMChildList* children = folder ? folder->children() : nullptr;
  if (children == nullptr || folder->diskSize() == 0) return nullptr;
  // The children that take area, largest first, as a whole layout deals
  // them (deletions change sizes without moving the files in their
  // folder's list); their layouts are made as the split is entered.
  auto files = std::make_unique<std::vector<TMFileTree*>>();
  files->reserve(children->count());
  for (uint32_t i = 0; i < children->count(); ++i) {
    TMFileTree* child = children->at(i);
    if (child->diskSize() != 0 && hasLayoutAt(*child, levels, 1)) files->push_back(child);
  }
  auto largerFirst = [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); };
  if (!std::is_sorted(files->begin(), files->end(), largerFirst)) std::stable_sort(files->begin(), files->end(), largerFirst);
  if (files->empty()) return nullptr;
  files_ = std::move(files);
  // The contents go where the folder is: into its layout's arena, freed
  // with the whole layout, or the heap.
  TMLayoutArena::Scope placing(TMLayoutArena::holding(this));
  child_ = std::make_unique<TMLayoutTree>(std::span<TMFileTree* const>(*files_), folder->diskSize(), levels);
  return child_.get();
}

TMFileTree* const* TMLayoutFolder::placeOf(std::string_view name) const {
  if (!files_) return nullptr;
  auto named = std::find_if(files_->begin(), files_->end(), [name](const TMFileTree* file) { return file->filename() == name; });
  return named == files_->end() ? nullptr : &*named;
}

void TMLayoutFolder::layOutAllContents() {
  if (child_ && child_->isSplitNode()) static_cast<TMLayoutTree&>(*child_).layOutAllSides();
  files_.reset();  // no side waits for them any more
}

TMLayoutFolder::~TMLayoutFolder() {
  // Freeing goes down the folders below as deep as they go.
  withEnoughStack([this] {
    child_.reset();
    retired_.reset();
  });
}

void TMLayoutFolder::cropSubRectangle(TMRect& c, const TMDrawInfo_t& info) const {
  if (fileNode_ == nullptr) return;
  c.x += blockSizes.folderLeftInset * info.pixelWidth;
  c.width -= (blockSizes.folderLeftInset + blockSizes.folderRightInset) * info.pixelWidth;
  c.y += blockSizes.folderBottomInset * info.pixelHeight;
  c.height -= (blockSizes.folderBottomInset + blockSizes.folderTopInset + blockSizes.textHeight) *
              info.pixelHeight;
}

void TMLayoutFolder::drawNodeText(TMDrawInfo_t& info, const TMRect& r) {
  if (!textDrawableInBounds(r, info)) return;
  TMRect text;
  text.x = r.x + blockSizes.textInset * info.pixelWidth;
  text.y = r.y + r.height - (blockSizes.textGap + blockSizes.textHeight) * info.pixelHeight;
  text.height = blockSizes.textHeight;
  text.width = r.width;
  addNameAndSizeTexts(info, r, text);
}

const TMColor* TMLayoutFolder::contentsColor(TMColorWheel& wheel) const {
  TMAreaTally tally;
  if (wheel.talliesAreas() && fileNode_ != nullptr) {
    tally = wheel.fileColoring() != nullptr ? wheel.areaTallies().ofFiles(*fileNode_, *wheel.fileColoring())
                                            : TMAreaTallies::ofItems(*fileNode_);
  }
  wheel.pushColor();  // its items are a level deeper
  const TMColor* fill = wheel.getAreaColor(tally);
  wheel.popColor();
  return fill;
}

void TMLayoutFolder::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  if (!drawableWithInfo(info, bounds)) {
    // Too small to enter: its area shows what it holds, as its files would
    // (by depth, their level's colour), not left to the folder around it.
    if (meetsVisibleArea(info, bounds)) {
      const TMColor* fill = info.selection.paintsSelected(fileNode_) ? fillColor(info) : contentsColor(*info.colorWheel);
      info.gatherer->addRectangle(bounds, fill, TMRectStyle::kPlain);
    }
    return;
  }
  TMRect contents = bounds;
  cropSubRectangle(contents, info);
  // In a colour mode, a folder whose contents are too small to draw one by
  // one is mostly title band and margins: the whole tile tells what it
  // holds. By depth, folders keep their level's colour.
  const bool tellsContents = info.colorWheel->fileColoring() != nullptr && !info.selection.paintsSelected(fileNode_) &&
                             (contents.width < blockSizes.minNodeWidth * info.pixelWidth ||
                              contents.height < blockSizes.minNodeHeight * info.pixelHeight);
  info.gatherer->addRectangle(bounds, tellsContents ? contentsColor(*info.colorWheel) : fillColor(info));
  if (const TMFolderTree* folder = fileNode_ ? fileNode_->asFolder() : nullptr) {
    // What could not be read is marked where it is: the title band hatched
    // in red; what a stopped scan did not finish, dotted in blue.
    const double band = (blockSizes.folderTopInset + blockSizes.textHeight) * info.pixelHeight;
    const TMRect title{bounds.x, bounds.y + bounds.height - band, bounds.width, band};
    if (folder->wasCutShort()) {
      info.gatherer->addRectangle(title, &TMColor::notScannedColor(), TMRectStyle::kDotted);
    } else if (folder->isUnreadable() || folder->holdsUnreadable()) {
      info.gatherer->addRectangle(title, &TMColor::unreadableColor(), TMRectStyle::kHatched);
    }
  }
  drawNodeText(info, bounds);
  info.colorWheel->pushColor();
  const TMFileTree* outer = info.colorWheel->drawnFolder();
  info.colorWheel->setDrawnFolder(fileNode_);
  if (TMLayoutNode* inside = this->contents()) withEnoughStack([&] { inside->drawGeometry(info, contents); });
  info.colorWheel->setDrawnFolder(outer);
  info.colorWheel->popColor();
}

TMLayoutNode* TMLayoutFolder::getNodeConforming(const TMLayoutPredicate& predicate,
                                                TMDrawInfo_t& info, const TMRect& bounds) {
  if (!predicate(*this, info, bounds)) return nullptr;
  // The folder a search starts from is named by the starting URL already.
  if (info.depth != 0) info.selection.url.append(fileNode_->filename());
  TMRect contents = bounds;
  cropSubRectangle(contents, info);
  ++info.depth;
  TMLayoutNode* inside = this->contents();
  TMLayoutNode* found =
      inside ? withEnoughStack([&] { return inside->getNodeConforming(predicate, info, contents); })
             : nullptr;
  --info.depth;
  if (found != nullptr) return found;
  info.selection.rect = bounds;
  info.selection.isFile = 0;
  info.selection.file = fileNode_;
  info.selection.layout = this;
  return this;
}

}  // namespace tilemora
