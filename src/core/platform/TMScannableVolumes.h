// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mounted file systems a user would scan, for a window opened without
// a folder: those that hold files on a disk (not the kernel's virtual ones,
// memory, overlays, nor the read-only images snaps mount), each once (the
// first mount of a device, where a device is mounted again elsewhere or
// in part), with its size and free space.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace tilemora {

class TMFileSystem;

struct TMScannableVolume {
  std::string mountPoint;
  std::string device;      // what is mounted: "/dev/nvme0n1p2"
  std::string type;        // "ext4"
  uint64_t totalSize = 0;  // bytes; 0 when statvfs could not tell
  uint64_t freeSize = 0;
  uint64_t usedSize() const { return totalSize - std::min(totalSize, freeSize); }
};

// The volumes of `fileSystem`'s mount table, in table order.
std::vector<TMScannableVolume> scannableVolumes(const TMFileSystem& fileSystem);

// Whether a mount of `type` from `source` holds files a user would scan.
bool isScannableFileSystem(const std::string& type, const std::string& source);

}  // namespace tilemora
