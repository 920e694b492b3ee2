// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main queue: the one way work crosses from a scan thread to the thread
// that owns the windows. The desktop application posts onto its event loop;
// the command-line tool and the tests use TMManualMainQueue.

#include <functional>

namespace tilemora {

class TMMainQueue {
 public:
  virtual ~TMMainQueue() = default;
  // Queues `work` to run later on the main thread. Callable from any thread;
  // never waits for the main thread.
  virtual void post(std::function<void()> work) = 0;
};

}  // namespace tilemora
