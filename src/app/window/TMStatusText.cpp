// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMStatusText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include "window/TMDisplayText.h"
#include "core/drawing/TMSizeFormatter.h"

namespace tilemora {

namespace {

// The words' context for translations.
struct TMStatusText {
  Q_DECLARE_TR_FUNCTIONS(TMStatusText)
};

QString sizeText(uint64_t bytes) {
  return QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(bytes));
}

QString count(uint64_t n) { return QLocale().toString(qulonglong(n)); }

QString filesAndFolders(uint64_t files, uint64_t folders) {
  return TMStatusText::tr("%1 and %2").arg(TMStatusText::tr("%Ln file(s)", nullptr, pluralCount(files)),
                             TMStatusText::tr("%Ln folder(s)", nullptr, pluralCount(folders)));
}

// The same after "in", where some languages decline them (German: "in 4
// Ordnern").
QString inFilesAndFolders(uint64_t files, uint64_t folders) {
  return TMStatusText::tr("%1 and %2").arg(TMStatusText::tr("%Ln file(s)", "after in", pluralCount(files)),
                             TMStatusText::tr("%Ln folder(s)", "after in", pluralCount(folders)));
}

// "2 folders could not be read"; empty if none.
QString unreadableCountText(uint64_t folders) {
  return folders > 0 ? TMStatusText::tr("%Ln folder(s) could not be read", nullptr, pluralCount(folders)) : QString();
}

QString unreadableText(uint64_t folders) {
  return folders > 0 ? QStringLiteral("; ") + unreadableCountText(folders) : QString();
}

// What the totals leave out or stand in for: entries excluded, sizes a
// saved scan lacks, and the measure when it is the files' length.
QString measureText(const TMScanStatus& status) {
  QString text;
  if (status.excludedEntries > 0) {
    text += QStringLiteral("; ") + TMStatusText::tr("%Ln excluded", nullptr, pluralCount(status.excludedEntries));
    QStringList patterns;
    for (const std::string& pattern : status.exclusionPatterns) patterns << displayText(pattern);
    if (!patterns.isEmpty()) text += QStringLiteral(" (") + patterns.join(QStringLiteral(", ")) + QLatin1Char(')');
  }
  if (status.filesWithoutLength > 0)
    text += QStringLiteral("; ") + TMStatusText::tr("%Ln file(s) without a length: their size on disk stands in",
                                                    nullptr, pluralCount(status.filesWithoutLength));
  if (status.filesWithoutAllocatedSize > 0)
    text += QStringLiteral("; ") + TMStatusText::tr("%Ln file(s) without a size on disk: their length stands in",
                                                    nullptr, pluralCount(status.filesWithoutAllocatedSize));
  if (status.measure == TMSizeMeasure::kLength) text += QStringLiteral("; ") + TMStatusText::tr("apparent sizes");
  return text;
}

QString selectionText(const TMSelectionStatus& selection, uint64_t total) {
  QString text = selection.items > 1
                     ? TMStatusText::tr("%Ln items selected: %1 (%2 bytes)", nullptr, pluralCount(selection.items))
                           .arg(sizeText(selection.bytes), count(selection.bytes))
                     : TMStatusText::tr("\u201C%1\u201D: %2 (%3 bytes)")
                           .arg(displayText(selection.name), sizeText(selection.bytes), count(selection.bytes));
  if (selection.folder || selection.items > 1)
    text += QStringLiteral(", ") + filesAndFolders(selection.files, selection.folders);
  if (!selection.space && total > 0) {
    const double share = 100.0 * double(selection.bytes) / double(total);
    text += TMStatusText::tr(", %1 % of the total").arg(QLocale().toString(share, 'f', 1));
  }
  return text;
}

}  // namespace

QString statusTextOf(const TMScanStatus& status) {
  const QString seconds = QLocale().toString(status.seconds, 'f', status.seconds < 10 ? 1 : 0);
  QString text;
  if (status.scanning) {
    // A saved scan being read is not scanned here, unless as administrator.
    text = (status.administrator ? TMStatusText::tr("Scanning as administrator\u2026 %1, %2, %3 s")
            : status.imported    ? TMStatusText::tr("Reading\u2026 %1, %2, %3 s")
                                 : TMStatusText::tr("Scanning\u2026 %1, %2, %3 s"))
               .arg(TMStatusText::tr("%Ln entries", nullptr, pluralCount(status.entries)), sizeText(status.bytes),
                    seconds);
  } else if (status.imported) {
    // A saved scan: when it was made, not how long this took.
    const QString when = status.scannedAt > 0
                             ? QLocale().toString(QDateTime::fromSecsSinceEpoch(status.scannedAt), QLocale::ShortFormat)
                             : TMStatusText::tr("at an unknown date");
    text = status.administrator
               ? TMStatusText::tr("%1 (%2 bytes) in %3, scanned as administrator (read-only)")
                     .arg(sizeText(status.bytes), count(status.bytes), inFilesAndFolders(status.files, status.folders))
               : TMStatusText::tr("%1 (%2 bytes) in %3, imported: scanned %4")
                     .arg(sizeText(status.bytes), count(status.bytes), inFilesAndFolders(status.files, status.folders),
                          when);
    if (status.foldersNotRead > 0)
      text += TMStatusText::tr("; %Ln folder(s) not read yet (dotted)", nullptr, pluralCount(status.foldersNotRead));
    text += unreadableText(status.unreadableFolders);
  } else {
    // A stopped scan's total is only what it reached: it says so first.
    text = (status.stopped ? TMStatusText::tr("Stopped: %Ln folder(s) not scanned — ", nullptr,
                                              pluralCount(status.cutShortFolders)) +
                                 TMStatusText::tr("%1 (%2 bytes, partial) in %3, stopped after %4 s")
                           : TMStatusText::tr("%1 (%2 bytes) in %3, scanned in %4 s"))
               .arg(sizeText(status.bytes), count(status.bytes), inFilesAndFolders(status.files, status.folders),
                    seconds);
    text += unreadableText(status.unreadableFolders);
  }
  if (!status.scanning) text += measureText(status);
  if (status.following && status.unfollowedFolders == 0) {
    text += TMStatusText::tr("; following changes in %Ln folder(s)", nullptr, pluralCount(status.followedFolders));
  } else if (status.following) {
    text += TMStatusText::tr("; following changes in %1 of %2 folders (the system's watches ran out)")
                .arg(count(status.followedFolders), count(status.followedFolders + status.unfollowedFolders));
  }
  if (status.volume) {
    text += TMStatusText::tr(" \u2014 volume: %1 used, %2 free, %3 not reached")
                .arg(sizeText(status.usedBytes), sizeText(status.freeBytes), sizeText(status.unscannedBytes));
  }
  if (status.selection) text = selectionText(*status.selection, status.bytes) + QStringLiteral("  |  ") + text;
  return text;
}

QString unreadableLinkOf(const TMScanStatus& status) { return unreadableCountText(status.unreadableFolders); }

QString statusToolTipOf(const TMScanStatus& status) {
  QStringList paths;
  for (const std::string& path : status.firstUnreadableFolders) paths << displayText(path);
  if (status.unreadableFolders > uint64_t(paths.size())) paths << QStringLiteral("\u2026");
  return paths.join('\n');
}

}  // namespace tilemora
