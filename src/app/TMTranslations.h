// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's words in the user's language. English itself comes from a
// translation too: its plural forms ("1 file", "2 files") are Qt's "%n"
// forms, which only a translation supplies.

namespace tilemora {

// Installs the translations on the running application, once.
void installTranslations();

}  // namespace tilemora
