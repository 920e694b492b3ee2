// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed sizes of the map. Lengths are in view pixels and become virtual
// units when multiplied by a frame's pixel width or height.

#include <cstdint>

namespace tilemora {

struct TMBlockSizes_t {
  double folderLeftInset;   // between a folder's left edge and its contents
  double folderRightInset;  // between a folder's contents and its right edge
  double folderTopInset;    // above a folder's title band
  double folderBottomInset; // below a folder's contents; lifts a file's text
  double minNodeWidth;      // the smallest node drawn or found
  double minNodeHeight;
  double textInset;         // left of a text, and between a name and its size
  double textGap;           // between a folder's top edge and its title band
  double textHeight;        // the font size, the title band's height, the smallest text
  double minTextWidth;      // the narrowest box that gets a text (in vertical pixels)
  double sizeTextWidth;     // wider than minTextWidth + this, a box also shows the size
  int32_t scanLayoutDepth;  // the depth of layouts built while a scan runs
  int32_t finalLayoutDepth; // the depth of the layout built when it has ended
};

inline constexpr TMBlockSizes_t blockSizes{3.0, 3.0, 3.0, 3.0, 7.0, 7.0, 4.0,
                                           1.0, 10.0, 40.0, 40.0, 3, 65536};

}  // namespace tilemora
