// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names and paths as the window shows them outside the map (path bar,
// title, tooltips, messages): decoded for display only, and always on one
// line — a control character is shown as its Unicode control picture
// (a newline as U+240A), as the map draws it visibly too.

#include <QString>
#include <cstdint>
#include <string_view>

namespace tilemora {

QString displayText(std::string_view bytes);

// A count for a "%Ln" text, which takes an int: counts past what one holds
// are not met in practice, and are capped.
int pluralCount(uint64_t n);

}  // namespace tilemora
