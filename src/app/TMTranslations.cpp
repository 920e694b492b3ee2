// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tilemora {

namespace {

// Installs the first of `name`_LANGUAGE.qm in `folder` that fits one of the
// locale's languages, in its order of preference; answers whether one did.
bool installFitting(const QLocale& locale, const QString& name, const QString& folder) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(locale, name, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(translator))
    return true;
  delete translator;
  return false;
}

}  // namespace

void installTranslations(const QLocale& locale) {
  static bool installed = false;
  if (installed) return;
  installed = true;
  const QString builtIn = QStringLiteral(":/i18n");
  // English first, for its plural forms; the user's language is searched
  // before it (the translator installed last is asked first), then Qt's own
  // words for its standard dialogs and buttons.
  QLocale english(QLocale::English);
  installFitting(english, QStringLiteral("tilemora"), builtIn);
  if (locale.language() != QLocale::English && locale.language() != QLocale::C)
    installFitting(locale, QStringLiteral("tilemora"), builtIn);
  installFitting(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace tilemora
