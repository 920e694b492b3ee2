// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the layouts a test makes are built: folders laid out when looked at,
// as the window's final map is, unless TILEMORA_TEST_LAYOUT=at-once asks
// for whole layouts. ctest runs the layout, drawing and view suites both
// ways: whatever is asked of a layout, the answers must not tell them apart.

#include <cstdlib>
#include <string_view>

#include "core/layout/TMLayoutBuilding.h"

namespace tilemora {

inline TMLayoutBuilt layoutBuiltUnderTest() {
  const char* mode = std::getenv("TILEMORA_TEST_LAYOUT");
  return mode != nullptr && std::string_view(mode) == "at-once" ? TMLayoutBuilt::kAtOnce
                                                                 : TMLayoutBuilt::kWhenLookedAt;
}

}  // namespace tilemora
