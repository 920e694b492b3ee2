// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real file system with chosen faults: folders that cannot be opened,
// entries that vanish or may not be examined, entries on another device,
// inflated file sizes, and a chosen mount table and volume size.

#include <functional>
#include <map>
#include <set>
#include <string>

#include "core/platform/TMFileSystem.h"

namespace tilemora::test {

class TMFaultyFileSystem : public TMFileSystem {
 public:
  std::set<std::string> unopenableFolders;   // entry names that fail with EACCES
  std::set<std::string> vanishingEntries;    // entry names whose stat fails with ENOENT
  std::set<std::string> deniedEntries;       // entry names whose stat fails with EACCES
  std::set<std::string> otherDeviceEntries;  // entry names reported on another device
  std::map<std::string, uint64_t> allocatedSizes;  // entry name -> reported bytes
  std::function<void(int directory, const char* name)> beforeOpeningFolder;
  std::vector<std::string> mountPoints;
  TMFileSystemSizes sizes;

  int openDirectoryAt(int directory, const char* name) const override {
    if (beforeOpeningFolder) beforeOpeningFolder(directory, name);
    if (unopenableFolders.count(name)) {
      errno = EACCES;
      return -1;
    }
    return TMFileSystem::openDirectoryAt(directory, name);
  }

  std::set<std::string> mountRootEntries;    // entry names reported as mount roots

  int statAt(int directory, const char* name, struct stat* result,
             bool* isMountRoot = nullptr) const override {
    if (vanishingEntries.count(name) || deniedEntries.count(name)) {
      errno = deniedEntries.count(name) ? EACCES : ENOENT;
      return -1;
    }
    int status = TMFileSystem::statAt(directory, name, result, isMountRoot);
    if (status == 0 && isMountRoot != nullptr && mountRootEntries.count(name)) *isMountRoot = true;
    if (status == 0 && otherDeviceEntries.count(name)) result->st_dev += 1;
    if (auto size = allocatedSizes.find(name); status == 0 && size != allocatedSizes.end())
      result->st_blocks = blkcnt_t(size->second / 512);
    return status;
  }

  TMFileSystemSizes fileSystemSizes(const char*) const override { return sizes; }
  std::vector<std::string> mountedLocalVolumePaths() const override { return mountPoints; }
};

}  // namespace tilemora::test
