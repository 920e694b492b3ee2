// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font of the map: Helvetica at 10, where a point is a pixel (the map's
// bands and thresholds are in pixels). fontconfig substitutes a
// metric-compatible sans (Nimbus Sans) when Helvetica itself is missing.

#include <QFont>

namespace tilemora {

QFont mapFont();

}  // namespace tilemora
