// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScannableVolumes.h"

#include <algorithm>

#include "TMFileSystem.h"
#include "TMMountTable.h"

namespace tilemora {

bool isScannableFileSystem(const std::string& type, const std::string& source) {
  // Snaps mount their images read-only from loop devices: nothing to free there.
  if (type == "squashfs" || type == "iso9660" || type == "erofs") return false;
  return TMMountTable::isLocalVolume(type, source) && !TMMountTable::isVirtualFileSystem(type);
}

std::vector<TMScannableVolume> scannableVolumes(const TMFileSystem& fileSystem) {
  std::vector<TMScannableVolume> volumes;
  std::vector<dev_t> devices;
  for (TMMount& mount : TMMountTable::mounts(fileSystem.mountTable())) {
    if (!isScannableFileSystem(mount.type, mount.source)) continue;
    // A device mounted again (a bind mount, a second subvolume of the same
    // file system) is the same space: listed at its first mount.
    if (std::find(devices.begin(), devices.end(), mount.device) != devices.end()) continue;
    devices.push_back(mount.device);
    const TMFileSystemSizes sizes = fileSystem.fileSystemSizes(mount.mountPoint.c_str());
    volumes.push_back({std::move(mount.mountPoint), std::move(mount.source), std::move(mount.type), sizes.totalSize,
                       sizes.freeSize});
  }
  return volumes;
}

}  // namespace tilemora
