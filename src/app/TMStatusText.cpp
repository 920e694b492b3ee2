// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMStatusText.h"

#include <QDateTime>
#include <QLocale>

#include "TMDisplayText.h"
#include "core/filetree/TMSizeFormatter.h"

namespace tilemora {

namespace {

QString sizeText(uint64_t bytes) {
  return QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(bytes));
}

QString count(uint64_t n) { return QLocale().toString(qulonglong(n)); }

}  // namespace

QString statusTextOf(const TMScanStatus& status) {
  const QString seconds = QLocale().toString(status.seconds, 'f', status.seconds < 10 ? 1 : 0);
  QString text;
  if (status.imported) {
    // A saved scan: when it was made, not how long this took.
    const QString when = status.scannedAt > 0
                             ? QLocale().toString(QDateTime::fromSecsSinceEpoch(status.scannedAt), QLocale::ShortFormat)
                             : QObject::tr("at an unknown date");
    text = QObject::tr("%1 (%2 bytes) in %3 files and %4 folders, imported: scanned %5")
               .arg(sizeText(status.bytes), count(status.bytes), count(status.files), count(status.folders), when);
    if (status.unreadableFolders > 0)
      text += QObject::tr("; %1 folders could not be read").arg(count(status.unreadableFolders));
  } else if (status.scanning) {
    text = QObject::tr("Scanning\u2026 %1 entries, %2, %3 s").arg(count(status.entries), sizeText(status.bytes), seconds);
  } else {
    text = QObject::tr("%1 (%2 bytes) in %3 files and %4 folders, %5 in %6 s")
               .arg(sizeText(status.bytes), count(status.bytes), count(status.files), count(status.folders),
                    status.stopped ? QObject::tr("stopped") : QObject::tr("scanned"), seconds);
    if (status.unreadableFolders > 0)
      text += QObject::tr("; %1 folders could not be read").arg(count(status.unreadableFolders));
  }
  if (status.volume) {
    text += QObject::tr(" \u2014 volume: %1 used, %2 free, %3 not reached")
                .arg(sizeText(status.usedBytes), sizeText(status.freeBytes), sizeText(status.unscannedBytes));
  }
  return text;
}

QString statusToolTipOf(const TMScanStatus& status) {
  QStringList paths;
  for (const std::string& path : status.firstUnreadableFolders) paths << displayText(path);
  if (status.unreadableFolders > uint64_t(paths.size())) paths << QStringLiteral("\u2026");
  return paths.join('\n');
}

}  // namespace tilemora
