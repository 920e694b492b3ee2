// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives the heap's free pages back to the system. The allocator keeps what
// a thread freed for that thread's next allocations; after a scan (whose
// thread has ended) and a full map built on a thread of its own, that is
// memory no one will ask for again.

namespace tilemora {

void releaseFreedHeapMemory();
// Makes the allocator give big blocks (a big folder's growing child list)
// back to the system as soon as they are freed, instead of keeping them
// for later: a scan grows and drops such lists all along. For the start of
// a program.
void returnBigBlocksAtOnce();

}  // namespace tilemora
