// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cells every table of sizes shows alike (the list, the largest files,
// the file types): a size in the formatter's units, its exact bytes, a
// share as a percentage, an item's icon.

#include <QIcon>
#include <QString>
#include <cstdint>

#include "core/drawing/TMFileTypes.h"

namespace tilemora {

class TMFileTree;

QString sizeCellText(uint64_t bytes);
// A change of size with its sign: "+1.2 MB", "−300 KB", "±0 bytes".
QString changeCellText(uint64_t oldSize, uint64_t newSize);
// "76,754,944 bytes", for a size's tooltip.
QString exactBytesText(uint64_t bytes);
// `fraction` (0 to 1) as "47.2 %".
QString shareCellText(double fraction);
QIcon itemIcon(bool folder);
// A file category's name as the window shows it, translated.
QString categoryText(TMFileCategory category);
// When `node` was last modified: the day in the locale's short form (so
// that the column leaves the names room), and the day and time for its
// tooltip; empty when not known (folders, saved scans without dates).
QString modifiedText(const TMFileTree& node);
QString modifiedTimeText(const TMFileTree& node);

}  // namespace tilemora
