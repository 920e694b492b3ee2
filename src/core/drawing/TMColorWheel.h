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
  // The colouring set, or null when files are coloured by depth.
  const TMFileColoring* fileColoring() const { return fileColoring_; }
  // An area too small for its files to be drawn one by one, holding
  // `tally`, at its files' level: what the colouring shows for it.
  // By depth, the level the tally points at: its own (files) or the next
  // (the files of its folders), whichever its largest items are.
  const TMColor* getAreaColor(const TMAreaTally& tally) const {
    if (!talliesAreas()) return getLevelColor();
    if (fileColoring_ != nullptr)
      return fileColoring_->colorOfKind(fileColoring_->shownKind(tally), *getLevelColor());
    const bool deeper = tally.largest() == TMAreaTally::kFilesDeeper;
    return &colorWheel[size_t((currentLevel + (deeper ? 1 : 0)) % maxLevel)];
  }
  // Whether areas are coloured by what they hold: once no scan writes the
  // tree any more (what they hold is walked).
  bool talliesAreas() const { return treeSettled_; }
  void setTreeSettled(bool settled) {
    treeSettled_ = settled;
    tallies_.forget();
  }
  // What such areas hold, kept from frame to frame until the tree changes.
  TMAreaTallies& areaTallies() { return tallies_; }
  // Files coloured by `coloring` (not owned), or by depth when null.
  void setFileColoring(const TMFileColoring* coloring) {
    fileColoring_ = coloring;
    tallies_.forget();  // another colouring sorts files otherwise
  }
  int64_t level() const { return currentLevel; }
  // The folder whose items are being drawn, or null: a run of tiles too
  // small to draw holds some of its files.
  const TMFileTree* drawnFolder() const { return drawnFolder_; }
  void setDrawnFolder(const TMFileTree* folder) { drawnFolder_ = folder; }

 private:
  std::array<TMColor, colorList.size()> colorWheel;
  TMColor selColor;
  int64_t currentLevel = 0;
  int64_t maxLevel = int64_t(colorList.size());
  const TMFileColoring* fileColoring_ = nullptr;
  TMAreaTallies tallies_;
  const TMFileTree* drawnFolder_ = nullptr;
  bool treeSettled_ = true;
};

}  // namespace tilemora
