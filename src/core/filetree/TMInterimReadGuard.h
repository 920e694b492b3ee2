// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reader that walks a file tree while its scan may still be running holds a
// TMInterimReadGuard for the whole walk. The scan replaces child lists as
// folders grow and get sorted; the lists it replaced stay allocated while any
// guard is held, and are freed by the scan thread once none is. The scan
// thread never waits for a reader: it only postpones freeing.
//
// Guards may nest and may be held on any number of threads at once. A tree
// whose scan has ended needs no guard.

#include <atomic>

namespace tilemora {

class TMInterimReadGuard {
 public:
  TMInterimReadGuard() { activeReaders().fetch_add(1, std::memory_order_seq_cst); }
  ~TMInterimReadGuard() { activeReaders().fetch_sub(1, std::memory_order_seq_cst); }
  TMInterimReadGuard(const TMInterimReadGuard&) = delete;
  TMInterimReadGuard& operator=(const TMInterimReadGuard&) = delete;

  // True when no guard is held: anything unpublished before this call can no
  // longer be reached by a reader (readers that start later load the lists
  // published in its place).
  static bool noReaderActive() { return activeReaders().load(std::memory_order_seq_cst) == 0; }

 private:
  static std::atomic<int>& activeReaders();
};

}  // namespace tilemora
