// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A map's first frame lays out every folder it shows: on a big tree that is
// tens of milliseconds, too long for the thread that answers the user. The
// thread that builds a map lays out beforehand what its first frame will
// show, by walking the frame as drawing does and keeping nothing.

#include "TMDrawInfo.h"

namespace tilemora {

class TMLayoutNode;

// Lays out the folders a frame of `layout` over `canvas` enters.
void layOutFirstFrame(TMLayoutNode& layout, const TMRect& canvas);

}  // namespace tilemora
