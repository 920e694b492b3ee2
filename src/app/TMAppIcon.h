// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's icon, drawn from the map's own palette.

#include <QIcon>

namespace tilemora {

QIcon tilemoraIcon();

}  // namespace tilemora
