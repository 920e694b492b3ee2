// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "core/platform/TMLocalizedString.h"

namespace tilemora {

namespace {

// Texts the program shows by a name it computes, marked here so that the
// translations list them: the core's words, the file categories and the
// age steps.
[[maybe_unused]] constexpr const char* kComputedTexts[] = {
    QT_TRANSLATE_NOOP("TMCoreText", "Free space"),
    QT_TRANSLATE_NOOP("TMCoreText", "Unscanned space"),
    QT_TRANSLATE_NOOP("TMCoreText", "bytes"),
    QT_TRANSLATE_NOOP("TMCoreText", "B"),
    QT_TRANSLATE_NOOP("TMCoreText", "Drop a folder here\nor choose File ▸ Open…"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Images"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Video"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Audio"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Documents"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Archives and packages"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Source code"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Programs and libraries"),
    QT_TRANSLATE_NOOP("TMFileCategoryText", "Other"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "Today"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "This week"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "This month"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "Six months"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "This year"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "Two years"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "Five years"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "Older"),
    QT_TRANSLATE_NOOP("TMAgeStepText", "No date"),
};

std::string translateCoreText(std::string_view, std::string_view english) {
  const QByteArray source = QByteArray::fromRawData(english.data(), qsizetype(english.size()));
  return QCoreApplication::translate("TMCoreText", source.constData()).toStdString();
}

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
  setLocalizedStringTranslator(translateCoreText);
}

}  // namespace tilemora
