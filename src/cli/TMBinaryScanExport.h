// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a scan as it runs as ncdu's binary export (see
// import/TMBinaryExportFormat): each entry as the scan meets it, each folder
// once it has been listed, with the sizes and counts below it. Files carry
// their length (asize), allocated size (dsize), date and identity; mount
// points inside the folder are left-out entries of another file system,
// and so are the entries the exclusions leave out; folders that could not
// be read are marked. Nothing of the tree is kept but the folders entered.

#include <sys/types.h>

#include <cstdio>
#include <vector>

#include "core/scan/TMScanObserver.h"
#include "import/TMBinaryTreeWriter.h"

namespace tilemora {

class TMBinaryScanExport : public TMScanObserver {
 public:
  // Writes to `out`, which stays open and is not flushed at the end.
  explicit TMBinaryScanExport(std::FILE* out) : blocks_(out), tree_(blocks_) {}

  void folderEntered(std::string_view name, const struct stat& info) override;
  void folderDenied() override;
  void folderLeft(bool unreadable) override;
  void fileFound(std::string_view name, const struct stat& info) override;
  void mountPointSkipped(std::string_view name, const struct stat& info) override;
  void entryExcluded(std::string_view name, const char* why) override;

  // Writes the index once the scan has ended; answers whether every write
  // reached the stream.
  bool finish() { return tree_.finish(); }

 private:
  // The inode, and the device where it differs from the folder's.
  TMBinaryItem identified(std::string_view name, const struct stat& info) const;

  TMBinaryExportWriter blocks_;
  TMBinaryTreeWriter tree_;
  std::vector<dev_t> devices_;  // of the folders entered, the scanned one first
};

}  // namespace tilemora
