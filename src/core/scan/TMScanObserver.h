// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Follows a scan entry by entry, with what the file system said about each,
// for writers that record more than the file tree keeps (an export).
// Called on the scan thread, in the scan's depth-first order: a folder is
// entered, its entries follow (sub-folders entered and left in turn), and
// it is left. Symbolic links are not reported; the scan does not count them.

#include <sys/stat.h>

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
};

}  // namespace tilemora
