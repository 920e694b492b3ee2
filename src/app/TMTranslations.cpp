// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTranslations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace tilemora {

void installTranslations() {
  static QTranslator* english = nullptr;
  if (english != nullptr) return;
  english = new QTranslator(QCoreApplication::instance());
  if (english->load(QStringLiteral(":/i18n/tilemora_en.qm"))) QCoreApplication::installTranslator(english);
}

}  // namespace tilemora
