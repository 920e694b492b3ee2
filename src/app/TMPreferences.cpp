// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPreferences.h"

#include <QSettings>

namespace tilemora {

namespace {

const QString kUnits = QStringLiteral("preferences/sizeUnits");
const QString kHardLinksOnce = QStringLiteral("preferences/hardLinksOnce");
const QString kCrossMountPoints = QStringLiteral("preferences/crossMountPoints");
const QString kScanThreads = QStringLiteral("preferences/scanThreads");
const QString kAskBeforeTrash = QStringLiteral("preferences/askBeforeTrash");
const QString kShowFreeSpace = QStringLiteral("preferences/showFreeSpace");
const QString kColourBy = QStringLiteral("preferences/colourBy");
const QString kKeepHistory = QStringLiteral("preferences/keepHistory");

// Stored as words, so that the file reads well and a future order of the
// choices does not change what was chosen.
QString unitsWord(TMSizeUnits units) {
  switch (units) {
    case TMSizeUnits::Binary: return QStringLiteral("iec");
    case TMSizeUnits::Decimal: return QStringLiteral("si");
    default: return QStringLiteral("default");
  }
}

TMSizeUnits unitsOf(const QString& word) {
  if (word == QLatin1String("iec")) return TMSizeUnits::Binary;
  if (word == QLatin1String("si")) return TMSizeUnits::Decimal;
  return TMSizeUnits::Formatter;
}

}  // namespace

TMPreferences TMPreferences::load() {
  QSettings settings;
  TMPreferences preferences;
  preferences.units = unitsOf(settings.value(kUnits).toString());
  preferences.scanOptions.hardLinksOnce = settings.value(kHardLinksOnce, false).toBool();
  preferences.scanOptions.crossMountPoints = settings.value(kCrossMountPoints, false).toBool();
  bool isNumber = false;
  const uint threads = settings.value(kScanThreads, 0u).toUInt(&isNumber);
  preferences.scanOptions.threads = isNumber && threads <= TMScanOptions::kMostThreads ? threads : 0u;
  preferences.askBeforeTrash = settings.value(kAskBeforeTrash, true).toBool();
  preferences.showFreeSpace = settings.value(kShowFreeSpace, true).toBool();
  const QString colourBy = settings.value(kColourBy).toString();
  preferences.colourBy = colourBy == QLatin1String("type")  ? TMColourMode::kFileType
                         : colourBy == QLatin1String("age") ? TMColourMode::kAge
                                                            : TMColourMode::kDepth;
  preferences.keepHistory = settings.value(kKeepHistory, false).toBool();
  return preferences;
}

void TMPreferences::save() const {
  QSettings settings;
  settings.setValue(kUnits, unitsWord(units));
  settings.setValue(kHardLinksOnce, scanOptions.hardLinksOnce);
  settings.setValue(kCrossMountPoints, scanOptions.crossMountPoints);
  settings.setValue(kScanThreads, scanOptions.threads);
  settings.setValue(kAskBeforeTrash, askBeforeTrash);
  settings.setValue(kShowFreeSpace, showFreeSpace);
  // A comparison's colours are a window's own: what was kept stays.
  if (colourBy != TMColourMode::kChanges)
    settings.setValue(kColourBy, colourBy == TMColourMode::kFileType ? QStringLiteral("type")
                               : colourBy == TMColourMode::kAge    ? QStringLiteral("age")
                                                                   : QStringLiteral("depth"));
  settings.setValue(kKeepHistory, keepHistory);
}

void TMPreferences::applySizeUnits() const { TMSizeFormatter::setSharedUnits(units); }

}  // namespace tilemora
