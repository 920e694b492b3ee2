// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file dialogs' filter for saved scans, in the user's language: the
// same for Import Scan and for Compare with Saved Scan.

#include <QCoreApplication>
#include <QString>

namespace tilemora {

struct TMSavedScanFilters {
  Q_DECLARE_TR_FUNCTIONS(TMSavedScanFilters)
};

inline QString savedScanFilters() {
  return TMSavedScanFilters::tr("Saved scans (*.json *.json.zst *.json.gz *.zst *.gz *.ncdu)");
}

}  // namespace tilemora
