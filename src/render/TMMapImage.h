// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The treemap of a layout as an image: the whole canvas visible, no
// selection, painted exactly as the desktop view paints a frame.

#include <QImage>

#include "core/layout/TMLayoutNode.h"

namespace tilemora {

class TMFileColoring;


// Files are coloured by `coloring` when one is given, else by depth.
QImage renderTreeMap(TMLayoutNode& layout, int width, int height, const TMFileColoring* coloring = nullptr);

}  // namespace tilemora
