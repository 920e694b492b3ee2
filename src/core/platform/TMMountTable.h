// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the kernel's mount table (/proc/self/mountinfo): its mount points,
// and among them those of local volumes: mounts of block devices or of
// local disk file systems, not pseudo, memory or network file systems.

#include <string>
#include <string_view>
#include <vector>

namespace tilemora {

struct TMMountTable {
  // The mount points of local volumes in `mountinfo` text, in table order,
  // with the kernel's octal escapes (\040 for a blank…) decoded.
  static std::vector<std::string> localVolumePaths(std::string_view mountinfo);
  // Every mount point in `mountinfo` text, decoded the same way.
  static std::vector<std::string> mountPaths(std::string_view mountinfo);

  // Whether a mount of `fileSystemType` from `source` is a local volume.
  static bool isLocalVolume(std::string_view fileSystemType, std::string_view source);
};

}  // namespace tilemora
