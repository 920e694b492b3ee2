// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fill colours by nesting depth: the shown folder takes the first of eight
// palette colours, its contents the second, and so on, cycling after the
// eighth level; a separate grey marks the selection.

#include <array>
#include <cstddef>
#include <cstdint>

#include "TMColor.h"
#include "TMFileColoring.h"

namespace tilemora {

// The palette, 0xRRGGBB, from a warm salmon through pale yellows and greens
// to a turquoise.
inline constexpr std::array<uint32_t, 8> colorList{0xE68164, 0xF4C7A2, 0xEFF0BE, 0xDFECC0,
                                                   0xCFE8C2, 0xC2E5C4, 0xA8DEC7, 0x7BDECA};

class TMColorWheel {
 public:
  TMColorWheel();

  void pushColor() { ++currentLevel; }
  // Returns to the previous level; unbalanced calls end the process.
  void popColor();
  const TMColor* getSelectionColor() const { return &selColor; }
  const TMColor* getLevelColor() const { return &colorWheel[size_t(currentLevel % maxLevel)]; }
  // A file's fill: by the colouring set, else by depth as everything else.
  const TMColor* getFileColor(const TMFileTree& file) const {
    return fileColoring_ ? fileColoring_->colorOf(file, *getLevelColor()) : getLevelColor();
  }
  // An area too small for its files to be drawn one by one.
  const TMColor* getUndrawnColor() const {
    return fileColoring_ ? fileColoring_->colorOfUndrawn(*getLevelColor()) : getLevelColor();
  }
  // Files coloured by `coloring` (not owned), or by depth when null.
  void setFileColoring(const TMFileColoring* coloring) { fileColoring_ = coloring; }
  int64_t level() const { return currentLevel; }

 private:
  std::array<TMColor, colorList.size()> colorWheel;
  TMColor selColor;
  int64_t currentLevel = 0;
  int64_t maxLevel = int64_t(colorList.size());
  const TMFileColoring* fileColoring_ = nullptr;
};

}  // namespace tilemora
