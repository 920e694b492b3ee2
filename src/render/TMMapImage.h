// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The treemap of a layout as an image: the whole canvas visible, no
// selection, painted exactly as the desktop view paints a frame.

#include <QImage>

#include "core/layout/TMLayoutNode.h"

namespace tilemora {

QImage renderTreeMap(TMLayoutNode& layout, int width, int height);

}  // namespace tilemora
