// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the scans shown side by side came from. Each saved scan becomes a
// folder below one joined root, named after its origin: the machine and the
// path scanned ("vm:/srv/t2"). A name cannot hold '/', which separates the
// components of every path here, so the folder's name has a division slash
// (U+2215) in its place, which reads the same; a path below it is shown
// with the origin itself ("vm:/srv/t2/media/video.mp4"), as the user would
// name the file on that machine.

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMScanOrigins {
 public:
  // The longest name a scan's folder, or the joined root, gets: what most
  // file systems allow one, so that an exported map of the joined scans can
  // be read back.
  static constexpr size_t kLongestName = 255;

  // The origin of a scan of `path` on `machine` (a file's label when the
  // export names no machine).
  static std::string originOf(std::string_view machine, const std::vector<std::string>& pathComponents);
  // A folder's name that reads as `origin`: its slashes become division
  // slashes, and an origin longer than a name may be keeps its start and
  // the end of its path ("vm:∕srv∕…∕t2"), cut between characters.
  static std::string nameOf(std::string_view origin);

  // Notes that the joined root is at `root`.
  void setRoot(const TMFileURL& root) {
    root_ = root;
    rootDepth_ = root.pathComponents().size();
  }
  // Notes that the folder `name` right below the root holds the scan of `origin`.
  void add(std::string name, std::string origin);
  bool empty() const { return scans_.empty(); }

  // `url` as the user reads it: below a scan's folder, its origin and the
  // rest of the path; anything else, its path.
  std::string shownPath(const TMFileURL& url) const;
  // The components of `url`, a scan's folder shown as its origin.
  std::vector<std::string> shownComponents(const TMFileURL& url) const;

  bool operator==(const TMScanOrigins& other) const = default;

 private:
  struct Scan {
    std::string name;
    std::string origin;
    bool operator==(const Scan& other) const = default;
  };
  // The scan whose folder `url` (in `components`) is or lies below; null
  // when there is none.
  const Scan* scanOf(const TMFileURL& url, const std::vector<std::string>& components) const;

  TMFileURL root_;
  size_t rootDepth_ = 1;  // components of root_
  std::vector<Scan> scans_;
};

}  // namespace tilemora
