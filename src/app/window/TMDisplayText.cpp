// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMDisplayText.h"

#include <QFile>
#include <algorithm>
#include <climits>

namespace tilemora {

int pluralCount(uint64_t n) { return int(std::min<uint64_t>(n, INT_MAX)); }

QString displayText(std::string_view bytes) {
  QString text = QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
  for (QChar& c : text) {
    if (c.unicode() < 0x20) c = QChar(0x2400 + c.unicode());
    if (c.unicode() == 0x7F) c = QChar(0x2421);
  }
  return text;
}

}  // namespace tilemora
