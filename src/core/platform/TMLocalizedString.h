// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts shown to the user come from one built-in English table, looked up by
// key. A key missing from the table is its own text, so a forgotten entry is
// visible rather than blank.

#include <string>
#include <string_view>

namespace tilemora {

std::string TMLocalizedString(std::string_view key);

}  // namespace tilemora
