// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Earlier scans of each folder, kept to compare with: every completed scan
// saved compressed in one folder (by default $XDG_STATE_HOME/tilemora/
// history), named after the scanned path's hash and the scan's time. Only
// the last kKeptPerFolder of a folder are kept, and at most kMostBytes in
// all, the oldest dropped first. The folder and its files are the user's
// alone (0700, 0600): they list the name of every file scanned.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "TMTreeExport.h"

namespace tilemora {

class TMFileTree;

class TMScanHistory {
 public:
  static constexpr size_t kKeptPerFolder = 10;
  static constexpr uint64_t kMostBytes = uint64_t(1) << 30;

  // `folder` holds the history (made when something is saved).
  explicit TMScanHistory(std::string folder) : folder_(std::move(folder)) {}
  // $XDG_STATE_HOME/tilemora/history, or ~/.local/state/tilemora/history.
  static std::string defaultFolder();
  const std::string& folder() const { return folder_; }

  struct Scan {
    std::string file;       // its path
    int64_t timestamp = 0;  // when it was scanned
    uint64_t bytes = 0;     // of the file
  };
  // The saved scans of `scannedPath`, newest first.
  std::vector<Scan> scansOf(const std::string& scannedPath) const;

  // Saves `root`, a scan of `header.rootPath` made at `header.timestamp`,
  // then drops what is over the limits. Answers false with `error` set when
  // it could not be saved.
  bool save(const TMFileTree& root, const TMTreeExportHeader& header, std::string& error,
            const std::atomic<bool>* stop = nullptr) const;
  // Drops the oldest scans of each folder past `perFolder`, then the oldest
  // of all while they hold more than `mostBytes`.
  void prune(size_t perFolder = kKeptPerFolder, uint64_t mostBytes = kMostBytes) const;

 private:
  std::vector<Scan> allScans(const std::string& prefix = {}) const;
  std::string folder_;
};

}  // namespace tilemora
