// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Earlier scans of each folder, kept to compare with: every completed scan
// saved compressed in one folder, tilemora/history in the state home (by
// default $XDG_STATE_HOME), named after the scanned path's hash and the
// scan's time. Only the last kKeptPerFolder of a folder are kept, and at
// most kMostBytes in all, the oldest dropped first; a scan larger than that
// alone is not kept. The folders and files are the user's alone (made 0700
// and 0600): they list the name of every file scanned. Nothing is followed
// through a link or changed that the history did not make: a folder of it
// that is a link, another user's, or writable by others is refused.

#include <stop_token>
#include <cstdint>
#include <string>
#include <vector>

#include "TMTreeExport.h"

namespace tilemora {

class TMFileTree;
class TMPrivateFolder;

class TMScanHistory {
 public:
  static constexpr size_t kKeptPerFolder = 10;
  static constexpr uint64_t kMostBytes = uint64_t(1) << 30;

  // The history in `stateHome` (made when something is saved).
  explicit TMScanHistory(const std::string& stateHome);
  // $XDG_STATE_HOME, or ~/.local/state.
  static std::string defaultStateHome();
  // Where the scans are: tilemora/history in the state home.
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
  // it could not be saved, or is larger than `mostBytes` alone.
  bool save(const TMFileTree& root, const TMTreeExportHeader& header, std::string& error,
            const std::stop_token& stop = {}, uint64_t mostBytes = kMostBytes) const;
  // Drops the oldest scans of each folder past `perFolder`, then the oldest
  // of all while they hold more than `mostBytes`.
  void prune(size_t perFolder = kKeptPerFolder, uint64_t mostBytes = kMostBytes) const;

 private:
  std::vector<Scan> allScans(const TMPrivateFolder& folder, const std::string& prefix = {}) const;
  std::string stateHome_;
  std::string folder_;
};

}  // namespace tilemora
