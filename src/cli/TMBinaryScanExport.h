// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a scan as it runs as ncdu's binary export (see
// import/TMBinaryExportFormat): each entry as the scan meets it, each folder
// once it has been listed, with the sizes and counts below it. Files carry
// their length (asize), allocated size (dsize), date and identity; mount
// points inside the folder are left-out entries of another file system,
// and so are the entries the exclusions leave out; folders that could not
// be read are marked. Nothing of the tree is kept but the folders entered.
// Follows a scan by several threads: each writes blocks of its own.

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "core/scan/TMScanObserver.h"
#include "import/TMBinaryTreeWriter.h"

namespace tilemora {

class TMBinaryScanExport : public TMScanObserver {
 public:
  // Writes to `out`, which stays open and is not flushed at the end.
  explicit TMBinaryScanExport(std::FILE* out) : TMBinaryScanExport(std::make_unique<TMBinaryExportWriter>(out)) {}

  void folderEntered(std::string_view name, const struct stat& info) override;
  void folderDenied() override;
  void folderLeft(bool unreadable) override;
  void fileFound(std::string_view name, const struct stat& info) override;
  void mountPointSkipped(std::string_view name, const struct stat& info) override;
  void entryExcluded(std::string_view name, const char* why) override;

  bool followsThreads() const override { return true; }
  std::unique_ptr<TMScanObserver> forAnotherThread() override;
  std::shared_ptr<HandOff> folderHandedOff() override;
  void folderTakenOver(const std::shared_ptr<HandOff>& handOff) override;
  void threadEnded() override { blocks_->flush(); }

  // Writes the index once the scan has ended; answers whether every write
  // reached the stream.
  bool finish() { return tree_.finish(); }

 private:
  class FolderHandedOff;
  explicit TMBinaryScanExport(std::unique_ptr<TMBinaryExportWriter> blocks)
      : blocks_(std::move(blocks)), tree_(*blocks_) {}

  // The inode, and the device where it differs from the folder's.
  TMBinaryItem identified(std::string_view name, const struct stat& info) const;

  std::unique_ptr<TMBinaryExportWriter> blocks_;  // this thread's
  TMBinaryTreeWriter tree_;
  std::vector<dev_t> devices_;  // of the folders entered, the scanned one first
};

}  // namespace tilemora
