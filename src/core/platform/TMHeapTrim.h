// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives the heap's free pages back to the system. The allocator keeps what
// a thread freed for that thread's next allocations; after a scan (whose
// thread has ended) and a full map built on a thread of its own, that is
// memory no one will ask for again.

namespace tilemora {

void releaseFreedHeapMemory();

}  // namespace tilemora
