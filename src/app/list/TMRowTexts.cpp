// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMRowTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileIconProvider>
#include <QLocale>

#include <optional>

#include "core/drawing/TMSizeFormatter.h"
#include "core/filetree/TMFileTree.h"
#include "import/TMTreeComparison.h"

namespace tilemora {

namespace {

struct TMRowTexts {
  Q_DECLARE_TR_FUNCTIONS(TMRowTexts)
};
struct TMFileCategoryText {
  Q_DECLARE_TR_FUNCTIONS(TMFileCategoryText)
};

}  // namespace

QString sizeCellText(uint64_t bytes) {
  return QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(bytes));
}

QString changeCellText(uint64_t oldSize, uint64_t newSize) {
  const TMSignedSize change = signedChange(oldSize, newSize);
  const QChar sign = change.magnitude == 0 ? QChar(0x00B1) : change.negative ? QChar(0x2212) : QLatin1Char('+');
  return sign + sizeCellText(change.magnitude);
}

QString exactBytesText(uint64_t bytes) { return TMRowTexts::tr("%1 bytes").arg(QLocale().toString(qulonglong(bytes))); }

QString shareCellText(double fraction) { return QLocale().toString(100.0 * fraction, 'f', 1) + QStringLiteral(" %"); }

namespace {

// When `node` was last modified, or nothing when that is not known.
std::optional<QDateTime> modifiedAt(const TMFileTree& node) {
  const uint32_t seconds = node.modifiedTime();
  if (seconds == 0) return std::nullopt;
  return QDateTime::fromSecsSinceEpoch(qint64(seconds));
}

}  // namespace

QString modifiedText(const TMFileTree& node) {
  const std::optional<QDateTime> at = modifiedAt(node);
  return at ? QLocale().toString(at->date(), QLocale::ShortFormat) : QString();
}

QString modifiedTimeText(const TMFileTree& node) {
  const std::optional<QDateTime> at = modifiedAt(node);
  return at ? QLocale().toString(*at, QLocale::LongFormat) : QString();
}

QString categoryText(TMFileCategory category) { return TMFileCategoryText::tr(categoryName(category)); }

QIcon itemIcon(bool folder) {
  static const QFileIconProvider icons;
  return icons.icon(folder ? QFileIconProvider::Folder : QFileIconProvider::File);
}

}  // namespace tilemora
