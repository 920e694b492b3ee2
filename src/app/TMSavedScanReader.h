// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a saved scan (an export file, or standard input for "-") on a
// thread of its own, so that a big file does not freeze the window, and
// hands the result over on the main queue.

#include <QByteArray>
#include <QList>
#include <functional>
#include <memory>
#include <variant>

#include "core/platform/TMMainQueue.h"
#include "import/TMNcduImport.h"

namespace tilemora {

using TMSavedScanResult = std::variant<TMImportedScan, TMImportError>;

// `done` runs on `mainQueue` with what was read, or why nothing was.
void readSavedScan(const QByteArray& path, std::shared_ptr<TMMainQueue> mainQueue,
                   std::function<void(TMSavedScanResult)> done);
// The same for several saved scans shown side by side as one tree (one
// path reads as readSavedScan does).
void readSavedScans(const QList<QByteArray>& paths, std::shared_ptr<TMMainQueue> mainQueue,
                    std::function<void(TMSavedScanResult)> done);

}  // namespace tilemora
