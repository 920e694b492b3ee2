// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one assertion facility of Tilemora. It is always on (release builds
// included): a broken internal invariant must stop the program at once
// rather than let it paint or delete from a corrupted tree.

namespace tilemora {

// Prints "Assertion failed: (condition), function operation, file F, line L."
// on stderr and aborts. Never returns.
[[noreturn]] void tmAssertionFailed(const char* operation, const char* file, int line,
                                    const char* conditionText);

}  // namespace tilemora

// Checks `condition`; on failure reports the enclosing function, the source
// file and line and the condition's own text, then aborts.
#define TM_ASSERT(condition)                                                        \
  do {                                                                              \
    if (!(condition)) ::tilemora::tmAssertionFailed(__func__, __FILE__, __LINE__, #condition); \
  } while (false)
