// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours for the files of the map other than by depth (by type, by age):
// asked for each file tile as it is gathered. Folders keep the depth
// colours, so the nesting stays readable.

namespace tilemora {

struct TMColor;
class TMFileTree;

class TMFileColoring {
 public:
  virtual ~TMFileColoring() = default;
  // The fill of `file`, whose depth gives it `depthColor`; it lives as long
  // as this colouring (or is `depthColor`).
  virtual const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const = 0;
  // The fill of an area whose files are too small to be drawn one by one
  // (a folder too small to enter, a run of tiny tiles): by default the
  // depth's.
  virtual const TMColor* colorOfUndrawn(const TMColor& depthColor) const { return &depthColor; }
};

}  // namespace tilemora
