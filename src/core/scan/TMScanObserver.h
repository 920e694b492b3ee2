// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Follows a scan entry by entry, with what the file system said about each,
// for writers that record more than the file tree keeps (an export).
// Called on the scan thread, in the scan's depth-first order: a folder is
// entered, its entries follow (sub-folders entered and left in turn), and
// it is left. Symbolic links are not reported; the scan does not count them.
//
// An observer that can follow a scan by several threads gives each thread
// an observer of its own (`forAnotherThread`). A folder one thread enters
// may then be handed to another: the first is told so once it has entered
// it (`folderHandedOff`) and goes on as if it had been left; the other is
// told to take it over (`folderTakenOver`), lists it, and leaves it.

#include <sys/stat.h>

#include <memory>
#include <string_view>

namespace tilemora {

class TMScanObserver {
 public:
  virtual ~TMScanObserver() = default;

  // A folder the scan is about to list: the start (named by its path), or
  // a sub-folder of the folder last entered. `info` is zeroed but for the
  // mode when its stat was refused.
  virtual void folderEntered(std::string_view name, const struct stat& info) = 0;
  // The entries of the folder last entered cannot be examined (it could be
  // listed, not searched): it will be left unreadable. Told before the
  // first such entry is.
  virtual void folderDenied() = 0;
  // The folder last entered has been listed; `unreadable` when it could
  // not be opened or not be read to its end.
  virtual void folderLeft(bool unreadable) = 0;
  // Any entry that is not a folder, counted with st_blocks × 512 bytes.
  virtual void fileFound(std::string_view name, const struct stat& info) = 0;
  // A mount point inside the folder, skipped.
  virtual void mountPointSkipped(std::string_view name, const struct stat& info) = 0;
  // An entry the exclusions leave out, for `why` (TMExclusions' export word).
  virtual void entryExcluded(std::string_view /*name*/, const char* /*why*/) {}

  // What one thread's observer passes to another's with a folder.
  class HandOff {
   public:
    virtual ~HandOff() = default;
  };
  // Whether this observer can follow a scan by several threads; those that
  // cannot have the scan run on one.
  virtual bool followsThreads() const { return false; }
  // An observer for another thread of the same scan; told nothing before a
  // folder is taken over.
  virtual std::unique_ptr<TMScanObserver> forAnotherThread() { return nullptr; }
  // The folder last entered goes to another thread, with what this answers.
  virtual std::shared_ptr<HandOff> folderHandedOff() { return nullptr; }
  // A folder handed off, `handOff`, is listed by this thread: it is now
  // the folder last entered. (Also when no other thread took it after all.)
  virtual void folderTakenOver(const std::shared_ptr<HandOff>& /*handOff*/) {}
  // This thread's part of the scan has ended: nothing more is told.
  virtual void threadEnded() {}
};

}  // namespace tilemora
