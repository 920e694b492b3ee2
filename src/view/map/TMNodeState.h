// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One position of the tree map view: a node's URL, its file node, its
// layout node, and a rectangle (the visible rectangle for the current
// state, the node's rectangle for the selection, the view's frame for the
// root when made).
//
// The layout pointer shares ownership of the whole layout tree it belongs
// to, and that tree keeps its file tree alive (see TMSharedLayout), so a
// state stays valid however long it is held.

#include <memory>

#include "core/drawing/TMGeometry.h"
#include "core/layout/TMLayoutNode.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

struct TMNodeState {
  TMFileURL url;
  TMFileTree* file = nullptr;  // may be absent (free or unscanned space only)
  std::shared_ptr<TMLayoutNode> layout;
  TMRect size;
};

}  // namespace tilemora
