// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What takes a tree given depth first, as a saved scan lists it: a folder
// is entered, its entries follow (sub-folders entered and left in turn),
// and it is left. A tree built whole before anyone sees it, or one that
// others watch grow.

#include <cstdint>
#include <string_view>

namespace tilemora {

class TMTreeSink {
 public:
  virtual ~TMTreeSink() = default;
  // A sub-folder of the folder last entered, entered in turn.
  virtual void enterFolder(std::string_view name) = 0;
  // A file of the folder last entered, of `size` bytes on disk and `length`
  // bytes long, last modified `modified` seconds after 1970 (0: not known).
  virtual void addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified) = 0;
  // The folder last entered could not be read where the tree was scanned:
  // it is marked so, and every folder above it as holding one.
  virtual void markFolderUnreadable() = 0;
  // Ends the folder last entered; answers false when only the root is open.
  virtual bool leaveFolder() = 0;
};

}  // namespace tilemora
