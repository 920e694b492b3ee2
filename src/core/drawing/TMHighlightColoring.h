// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Some files picked out (what a search found, a type chosen in the types
// window): they keep the colours of the mode in use, every other file is
// dimmed to one pale grey.

#include <memory>
#include <unordered_set>

#include "TMColor.h"
#include "TMFileColoring.h"

namespace tilemora {

class TMHighlightColoring : public TMFileColoring {
 public:
  using Files = std::unordered_set<const TMFileTree*>;
  // `base` colours the files picked out (by depth when null); it must
  // outlive this colouring.
  TMHighlightColoring(std::shared_ptr<const TMFileColoring> base, std::shared_ptr<const Files> picked);
  const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const override;
  // Kinds: the base's for the files picked out (one when by depth), then
  // one for the rest. An area holding a file picked out shows what the
  // picked files show, however few: they are what the user looks for.
  size_t kindCount() const override { return pickedKinds() + 1; }
  size_t kindOf(const TMFileTree& file) const override;
  size_t shownKind(const TMAreaTally& tally) const override;
  const TMColor* colorOfKind(size_t kind, const TMColor& depthColor) const override;
  static const TMColor& dimmedColor();

 private:
  bool isPicked(const TMFileTree& file) const { return picked_ != nullptr && picked_->count(&file) != 0; }
  size_t pickedKinds() const { return base_ ? base_->kindCount() : 1; }

  std::shared_ptr<const TMFileColoring> base_;
  std::shared_ptr<const Files> picked_;
};

}  // namespace tilemora
