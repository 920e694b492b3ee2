// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the kernel's mount table (/proc/self/mountinfo): its mount points,
// and among them those of local volumes: mounts of block devices or of
// local disk file systems, not pseudo, memory or network file systems.

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace tilemora {

// One line of the mount table.
struct TMMount {
  dev_t device = 0;        // what stat's st_dev says of the files on it
  std::string root;        // the folder of the file system mounted ("/": all of it)
  std::string mountPoint;  // decoded
  std::string type;        // "ext4", "proc"…
  std::string source;      // "/dev/sda1", "proc"…
};

struct TMMountTable {
  // Every mount in `mountinfo` text, in table order.
  static std::vector<TMMount> mounts(std::string_view mountinfo);
  // Whether `fileSystemType` is one of the kernel's virtual file systems
  // (/proc, /sys, /dev and the like), which hold no files of a disk.
  static bool isVirtualFileSystem(std::string_view fileSystemType);
  // The devices of the virtual file systems mounted in `mountinfo`.
  static std::vector<dev_t> virtualDevices(std::string_view mountinfo);
  // The mount points of local volumes in `mountinfo` text, in table order,
  // with the kernel's octal escapes (\040 for a blank…) decoded.
  static std::vector<std::string> localVolumePaths(std::string_view mountinfo);
  // Every mount point in `mountinfo` text, decoded the same way.
  static std::vector<std::string> mountPaths(std::string_view mountinfo);

  // Whether a mount of `fileSystemType` from `source` is a local volume.
  static bool isLocalVolume(std::string_view fileSystemType, std::string_view source);
};

}  // namespace tilemora
