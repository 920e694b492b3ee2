// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's words in the user's language. English itself comes from a
// translation too: its plural forms ("1 file", "2 files") are Qt's "%n"
// forms, which only a translation supplies.

#include <QLocale>

namespace tilemora {

// Installs the translations on the running application, once: the
// program's own for `locale`'s languages where it has them (English
// otherwise), and Qt's own words (its dialogs' buttons) where Debian's Qt
// translations are installed.
void installTranslations(const QLocale& locale = QLocale());

}  // namespace tilemora
