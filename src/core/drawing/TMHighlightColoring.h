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
  // Too small to tell what is picked out there: dimmed with the rest.
  const TMColor* colorOfUndrawn(const TMColor&) const override { return &dimmedColor(); }
  static const TMColor& dimmedColor();

 private:
  std::shared_ptr<const TMFileColoring> base_;
  std::shared_ptr<const Files> picked_;
};

}  // namespace tilemora
