// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Some files picked out (what a search found, a type chosen in the types
// window): they keep the colours of the mode in use, every other file is
// dimmed to one pale grey.

#include <cstdint>
#include <memory>
#include <unordered_set>

#include "TMColor.h"
#include "TMFileColoring.h"
#include "core/filetree/TMBytesByFolder.h"

namespace tilemora {

class TMHighlightColoring : public TMFileColoring {
 public:
  using Files = std::unordered_set<const TMFileTree*>;
  // `base` colours the files picked out (by depth when null); it must
  // outlive this colouring. `pickedBytes`, the picked files' bytes by
  // folder, when given, spares the areas of the map walking their files.
  TMHighlightColoring(std::shared_ptr<const TMFileColoring> base, std::shared_ptr<const Files> picked,
                      std::shared_ptr<const TMBytesByFolder> pickedBytes = nullptr);
  const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const override;
  // Kinds: the base's for the files picked out (one when by depth), then
  // one for the rest. An area holding a file picked out shows what the
  // picked files show, however few: they are what the user looks for.
  size_t kindCount() const override { return pickedKinds() + 1; }
  size_t kindOf(const TMFileTree& file) const override;
  size_t shownKind(const TMAreaTally& tally) const override;
  const TMColor* colorOfKind(size_t kind, const TMColor& depthColor) const override;
  // With the picked bytes by folder, by depth: at once.
  bool tallyBelow(const TMFileTree& folder, TMAreaTally& tally) const override;
  // With the picked bytes by folder: the dimmed kind for the files of a
  // folder holding no picked file of its own.
  size_t onlyKindOfFilesIn(const TMFileTree& folder) const override;
  static const TMColor& dimmedColor();

 private:
  bool isPicked(const TMFileTree& file) const { return picked_ != nullptr && picked_->count(&file) != 0; }
  size_t pickedKinds() const { return base_ ? base_->kindCount() : 1; }
  TMHeldBytes pickedBytesIn(const TMFileTree& folder) const;

  std::shared_ptr<const TMFileColoring> base_;
  std::shared_ptr<const Files> picked_;
  std::shared_ptr<const TMBytesByFolder> pickedBytes_;
};

}  // namespace tilemora
