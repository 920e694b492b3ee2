// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a scan as it runs in the JSON export format of ncdu (version 1.2),
// so that other tools can read it:
//   [1,2,{"progname":…,"progver":…,"timestamp":…},
//   [{"name":"/scanned/path",…},        a folder: an array, its object first,
//   {"name":"file","asize":…,…},        then its entries: files as objects,
//   [{"name":"sub",…},…]]]              sub-folders as arrays.
// Files carry their apparent (asize) and allocated (dsize) sizes, the
// allocated one being what the scan counts; folders carry no size of their
// own (the scan does not count their blocks), so a reader that adds up the
// entries finds the scan's total. Hard links are marked (nlink, hlnkc) and
// counted at every link, like the scan does; mount points inside the folder
// are listed as excluded ("otherfs"), and so are the entries the exclusions
// leave out ("pattern", "kernfs"), folders that could not be read as
// read_error, entries that are neither files nor folders as notreg.
// Nothing of the tree is kept: each entry is written as the scan meets it.

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/scan/TMScanObserver.h"

namespace tilemora {

class TMNcduExport : public TMScanObserver {
 public:
  // Writes to `out`, which stays open and is not flushed at the end;
  // `timestamp` is the scan's start, in seconds since the epoch;
  // `hostname` the machine scanned (left out when empty).
  TMNcduExport(std::FILE* out, const char* version, int64_t timestamp, const std::string& hostname = {});

  void folderEntered(std::string_view name, const struct stat& info) override;
  void folderDenied() override;
  void folderLeft(bool unreadable) override;
  void fileFound(std::string_view name, const struct stat& info) override;
  void mountPointSkipped(std::string_view name, const struct stat& info) override;
  void entryExcluded(std::string_view name, const char* why) override;

  // Closes the outer array once the scan has ended; answers whether every
  // write reached the stream.
  bool finish();

 private:
  // Writes the object of an entry: its name, sizes and identity (the device
  // only where it differs from the folder's). A folder's object is left
  // open: its read_error may still be learnt.
  void appendObject(std::string_view name, const struct stat& info, bool isFolder);
  // The inode, and the device where it differs from the folder's.
  void appendIdentity(const struct stat& info);
  // Closes the object of the folder last entered, once something follows.
  void closeFolderObject();
  void writeOutIfLong();

  std::FILE* out_;
  std::string text_;  // written out in large pieces
  // The devices of the folders entered, the scanned one first.
  std::vector<dev_t> devices_;
  bool folderObjectOpen_ = false;
  bool folderDenied_ = false;
};

}  // namespace tilemora
