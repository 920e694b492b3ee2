// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A thread with a stack large enough for a depth-first walk of very deep
// folder trees (the stack is reserved, not committed), owned and joined by
// whoever made it: a scan's thread, and the helpers of a parallel scan.

#include <pthread.h>

#include <cstddef>
#include <functional>

namespace tilemora {

class TMThread {
 public:
  TMThread() = default;
  // Starts `body` on a thread of its own; started() tells whether one
  // could be made (else `body` has not run).
  explicit TMThread(std::function<void()> body, size_t stackBytes = size_t(1) << 30);
  TMThread(TMThread&& other) noexcept;
  TMThread& operator=(TMThread&& other) noexcept;
  // Waits for the thread to end.
  ~TMThread() { join(); }

  bool started() const { return joinable_; }
  // Waits for the thread to end (at once when it has, or none runs).
  void join();

 private:
  pthread_t thread_{};
  bool joinable_ = false;
};

}  // namespace tilemora
