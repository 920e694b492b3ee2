// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a scan leaves out and does not count: entries matching a shell
// pattern (against the entry's name, or, for a pattern holding a "/",
// against its path below the scanned folder, as ncdu matches them),
// folders tagged as caches (a CACHEDIR.TAG file that starts with the
// standard signature), and the mounts of the kernel's virtual file systems
// (/proc, /sys, /dev…), which only a scan that crosses mount points meets.
// Made before the scan and only read while it runs, by every thread.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilemora {

class TMExclusions {
 public:
  // Why an entry is left out, as an export writes it: "pattern" for a
  // pattern or a cache tag, "kernfs" for a virtual file system.
  enum class Reason : uint8_t { kPattern, kCache, kVirtualFileSystem };
  static const char* exportWord(Reason reason);

  // Adds `pattern`; answers why it cannot be one (and adds nothing): empty,
  // a "[" never closed, a "\" with nothing to escape. A leading "/" anchors
  // it at the scanned folder, a trailing one is dropped.
  std::optional<std::string> addPattern(std::string_view pattern);
  // Why `pattern` cannot be one, or nothing when it can.
  static std::optional<std::string> patternProblem(std::string_view pattern);
  // Adds every line of `text` that is not empty or a "#" comment; answers
  // the first line that is no pattern, with its number and why.
  std::optional<std::string> addPatternLines(std::string_view text);

  void setExcludesCaches(bool excludes) { excludesCaches_ = excludes; }
  bool excludesCaches() const { return excludesCaches_; }
  void setSkipsVirtualFileSystems(bool skips) { skipsVirtualFileSystems_ = skips; }
  bool skipsVirtualFileSystems() const { return skipsVirtualFileSystems_; }
  // The devices of the virtual file systems mounted now (from the mount
  // table, when the scan starts).
  void setVirtualDevices(std::vector<dev_t> devices) { virtualDevices_ = std::move(devices); }

  // Whether nothing is ever excluded.
  bool isEmpty() const { return shownPatterns_.empty() && !excludesCaches_ && !skipsVirtualFileSystems_; }
  // Whether some pattern needs the entries' paths below the scanned folder.
  bool needsPaths() const { return needsPaths_; }
  // Whether the entry `name` of the folder at `folderPath` below the
  // scanned folder ("" for the scanned folder itself; only needed when
  // needsPaths) matches a pattern.
  bool matches(const char* name, std::string_view folderPath) const;
  // Whether a folder whose start of CACHEDIR.TAG is `tagStart` is a cache.
  static bool isCacheTag(std::string_view tagStart);
  static constexpr std::string_view kCacheSignature = "Signature: 8a477f597d28d172789f06886806bc55";
  bool isVirtualDevice(dev_t device) const;

  // The same exclusions for a scan that starts at `startPath` below the
  // scanned folder (a folder found later, scanned alone): paths are still
  // matched from the scanned folder.
  TMExclusions startingAt(std::string startPath) const {
    TMExclusions below = *this;
    below.startPath_ = std::move(startPath);
    return below;
  }

  // The patterns, as given, for a report.
  const std::vector<std::string>& patterns() const { return shownPatterns_; }

 private:
  std::vector<std::string> shownPatterns_;
  std::vector<std::string> namePatterns_;
  std::vector<std::string> pathPatterns_;
  std::vector<dev_t> virtualDevices_;
  std::string startPath_;  // where the scan starts, below the scanned folder
  bool needsPaths_ = false;
  bool excludesCaches_ = false;
  bool skipsVirtualFileSystems_ = false;
};

}  // namespace tilemora
