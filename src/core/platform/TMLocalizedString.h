// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts shown to the user come from one built-in English table, looked up by
// key. A key missing from the table is its own text, so a forgotten entry is
// visible rather than blank.

#include <string>
#include <string_view>

namespace tilemora {

std::string TMLocalizedString(std::string_view key);

// Puts the texts above into the user's language: given a key and its
// English text, answers the text to show. None (the default): English.
using TMStringTranslator = std::string (*)(std::string_view key, std::string_view english);
void setLocalizedStringTranslator(TMStringTranslator translator);

}  // namespace tilemora
