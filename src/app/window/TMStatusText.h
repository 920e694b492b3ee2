// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of the window's status line, numbers grouped as the locale
// groups them, sizes as the map writes them.

#include <QString>

#include "view/controller/TMScanStatus.h"

namespace tilemora {

// "Scanning… 12,345 entries, 1.2 GB, 3 s", or at the end "4.5 GB
// (4,812,345,123 bytes) in 12,345 files and 1,234 folders, scanned in
// 2.1 s", with what was stopped or could not be read, and a volume's used,
// free and unscanned space.
QString statusTextOf(const TMScanStatus& status);
// The part of that text telling how many folders could not be read, which
// opens their list (shown as a link); empty if none.
QString unreadableLinkOf(const TMScanStatus& status);
// The first folders that could not be read, one per line; empty if none.
QString statusToolTipOf(const TMScanStatus& status);

}  // namespace tilemora
