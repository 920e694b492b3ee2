// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files coloured by the category of their extension. The category is
// decided once per distinct extension and kept.

#include <array>
#include <string>
#include <unordered_map>

#include "TMColor.h"
#include "TMFileColoring.h"
#include "TMFileTypes.h"

namespace tilemora {

// The categories' colours, 0xRRGGBB, in TMFileCategory's order: soft enough
// for names drawn over them, apart enough to tell at a glance.
inline constexpr std::array<uint32_t, kFileCategoryCount> categoryColorList{
    0xC99BE0,  // images: lilac
    0xE8868A,  // video: coral red
    0xF2B56B,  // audio: orange
    0x8FB8E8,  // documents: blue
    0xC8A57E,  // archives and packages: brown
    0x9DD49A,  // source code: green
    0x7FCFCB,  // programs and libraries: teal
    0xD9D9D9,  // other: light grey
};

class TMTypeColoring : public TMFileColoring {
 public:
  TMTypeColoring();
  const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const override;
  size_t kindCount() const override { return kFileCategoryCount; }
  size_t kindOf(const TMFileTree& file) const override { return size_t(categoryOf(file)); }
  const TMColor* colorOfKind(size_t kind, const TMColor& depthColor) const override {
    return kind < kFileCategoryCount ? &colors_[kind] : &depthColor;
  }
  const TMColor& colorOfCategory(TMFileCategory category) const { return colors_[size_t(category)]; }

 private:
  TMFileCategory categoryOf(const TMFileTree& file) const;

  std::array<TMColor, kFileCategoryCount> colors_;
  // Gathering runs on one thread at a time.
  mutable std::unordered_map<std::string, TMFileCategory> categories_;
};

}  // namespace tilemora
