// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Walks over file and layout trees recurse once per folder level, so their
// depth is the depth of the tree, which no stack size bounds. Each such
// recursion goes through withEnoughStack(): while the calling thread's stack
// has room the body runs in place (a comparison, no more); near the end of
// the stack it runs on the fresh stack of a helper thread while the caller
// waits, and so on as deep as the tree goes. Only one thread works on the
// walk at any time, and the wait orders their memory accesses, so the walk
// needs no more care than on one thread.

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace tilemora {

// Whether the calling thread's stack is close enough to its end that a
// further level of recursion should move on.
bool stackIsRunningLow();

// Runs `body` on a helper thread with a stack of its own and waits for it;
// an exception thrown by `body` is thrown again here.
void runOnFreshStack(const std::function<void()>& body);

template <class Body>
decltype(auto) withEnoughStack(Body&& body) {
  using Result = std::invoke_result_t<Body&>;
  if (!stackIsRunningLow()) return std::forward<Body>(body)();
  if constexpr (std::is_void_v<Result>) {
    runOnFreshStack(body);
  } else {
    std::optional<Result> result;
    runOnFreshStack([&] { result.emplace(body()); });
    return Result(std::move(*result));
  }
}

}  // namespace tilemora
