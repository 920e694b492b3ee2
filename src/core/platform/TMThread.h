// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starts a detached worker thread with a stack large enough for a depth-first
// walk of very deep folder trees (the stack is reserved, not committed).

#include <cstddef>
#include <functional>

namespace tilemora {

// Answers false when no thread could be started; `body` has then not run.
bool startDetachedThread(std::function<void()> body, size_t stackBytes = size_t(1) << 30);

}  // namespace tilemora
