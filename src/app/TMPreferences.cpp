// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPreferences.h"

#include <QSettings>
#include <QStringList>

#include "core/scan/TMExclusions.h"

namespace tilemora {

namespace {

const QString kUnits = QStringLiteral("preferences/sizeUnits");
const QString kHardLinksOnce = QStringLiteral("preferences/hardLinksOnce");
const QString kCrossMountPoints = QStringLiteral("preferences/crossMountPoints");
const QString kScanThreads = QStringLiteral("preferences/scanThreads");
const QString kAskBeforeTrash = QStringLiteral("preferences/askBeforeTrash");
const QString kShowFreeSpace = QStringLiteral("preferences/showFreeSpace");
const QString kSizeMeasure = QStringLiteral("preferences/sizeMeasure");
const QString kFollowChanges = QStringLiteral("preferences/followChanges");
const QString kColourBy = QStringLiteral("preferences/colourBy");
const QString kExclusionPatterns = QStringLiteral("preferences/exclusionPatterns");
const QString kExcludeCaches = QStringLiteral("preferences/excludeCaches");
const QString kSkipVirtualFileSystems = QStringLiteral("preferences/skipVirtualFileSystems");
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
  preferences.followChanges = settings.value(kFollowChanges, false).toBool();
  preferences.sizeMeasure = settings.value(kSizeMeasure).toString() == QLatin1String("apparent")
                                ? TMSizeMeasure::kLength
                                : TMSizeMeasure::kOnDisk;
  const QString colourBy = settings.value(kColourBy).toString();
  preferences.colourBy = colourBy == QLatin1String("type")  ? TMColourMode::kFileType
                         : colourBy == QLatin1String("age") ? TMColourMode::kAge
                                                            : TMColourMode::kDepth;
  preferences.keepHistory = settings.value(kKeepHistory, false).toBool();
  // Names are bytes: kept as such, whatever the locale.
  for (const QString& pattern : settings.value(kExclusionPatterns).toStringList())
    preferences.exclusionPatterns.push_back(QByteArray::fromBase64(pattern.toLatin1()).toStdString());
  preferences.excludeCaches = settings.value(kExcludeCaches, false).toBool();
  preferences.skipVirtualFileSystems = settings.value(kSkipVirtualFileSystems, true).toBool();
  preferences.updateExclusions();
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
  settings.setValue(kFollowChanges, followChanges);
  settings.setValue(kSizeMeasure, sizeMeasure == TMSizeMeasure::kLength ? QStringLiteral("apparent")
                                                                        : QStringLiteral("disk"));
  // A comparison's colours are a window's own: what was kept stays.
  if (colourBy != TMColourMode::kChanges)
    settings.setValue(kColourBy, colourBy == TMColourMode::kFileType ? QStringLiteral("type")
                               : colourBy == TMColourMode::kAge    ? QStringLiteral("age")
                                                                   : QStringLiteral("depth"));
  settings.setValue(kKeepHistory, keepHistory);
  QStringList patterns;
  for (const std::string& pattern : exclusionPatterns)
    patterns << QString::fromLatin1(QByteArray::fromStdString(pattern).toBase64());
  settings.setValue(kExclusionPatterns, patterns);
  settings.setValue(kExcludeCaches, excludeCaches);
  settings.setValue(kSkipVirtualFileSystems, skipVirtualFileSystems);
}

void TMPreferences::updateExclusions() {
  auto exclusions = std::make_shared<TMExclusions>();
  for (const std::string& pattern : exclusionPatterns) exclusions->addPattern(pattern);
  exclusions->setExcludesCaches(excludeCaches);
  exclusions->setSkipsVirtualFileSystems(skipVirtualFileSystems);
  scanOptions.exclusions = exclusions->isEmpty() ? nullptr : std::move(exclusions);
}

void TMPreferences::applySizeUnits() const { TMSizeFormatter::setSharedUnits(units); }

}  // namespace tilemora
