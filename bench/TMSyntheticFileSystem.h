// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file system that exists only as a rule, for benchmarks on trees too big
// to create on disk: four levels of 10 folders "dN" below the root, and in
// each of the 10,000 deepest the same share of `fileCount` files "fNNNNNN"
// (10,000,000 files: 1,000 per folder), of 1 to 64 blocks drawn from the
// file's position. Entries are generated as they are read, so the
// file system itself takes no memory and what a benchmark measures is the
// scanner's and the map's.

#include <dirent.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "core/platform/TMDirectoryRecords.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

class TMSyntheticFileSystem : public TMFileSystem {
 public:
  static constexpr uint32_t kFanOut = 10;
  static constexpr int kFolderLevels = 4;
  static constexpr uint32_t kDeepestFolders = kFanOut * kFanOut * kFanOut * kFanOut;

  explicit TMSyntheticFileSystem(uint64_t fileCount) { setFileCount(fileCount); }

  // The files the next scan finds (rounded up to a multiple of 10,000).
  void setFileCount(uint64_t fileCount) { filesPerFolder_ = (fileCount + kDeepestFolders - 1) / kDeepestFolders; }

  int openDirectory(const char*) const override { return open({0, 0}); }
  int openDirectoryAt(int directory, const char* name) const override {
    Folder folder = folderOf(directory);
    if (folder.level < 0) return fail(EBADF);
    if (std::strcmp(name, "..") == 0) return open(folder.level == 0 ? folder : Folder{folder.level - 1, folder.id / kFanOut});
    if (name[0] != 'd' || folder.level >= kFolderLevels) return fail(ENOTDIR);
    return open({folder.level + 1, folder.id * kFanOut + uint32_t(std::atoi(name + 1))});
  }
  long readEntries(int directory, char* buffer, size_t capacity) const override {
    std::lock_guard lock(mutex_);
    auto found = open_.find(directory);
    if (found == open_.end()) return -1;
    Cursor& cursor = found->second;
    const bool holdsFolders = cursor.folder.level < kFolderLevels;
    const uint64_t count = holdsFolders ? uint64_t(kFanOut) : filesPerFolder_.load();
    size_t used = 0;
    char name[32];
    while (cursor.next < count) {
      const bool isFolder = holdsFolders;
      std::snprintf(name, sizeof name, isFolder ? "d%llu" : "f%06llu", static_cast<unsigned long long>(cursor.next));
      const size_t length = appendDirectoryRecord(buffer, capacity, used, name, cursor.next + 1,
                                                  int64_t(cursor.next + 1), isFolder ? DT_DIR : DT_REG);
      if (length == 0) break;
      used += length;
      ++cursor.next;
    }
    return long(used);
  }
  bool seekDirectory(int directory, int64_t offset) const override {
    std::lock_guard lock(mutex_);
    auto found = open_.find(directory);
    if (found == open_.end()) return false;
    found->second.next = uint64_t(offset);
    return true;
  }
  int statAt(int directory, const char* name, struct stat* result, bool* isMountRoot) const override {
    Folder folder = folderOf(directory);
    if (folder.level < 0) return fail(EBADF);
    if (isMountRoot != nullptr) *isMountRoot = false;
    const uint64_t index = std::strtoull(name + 1, nullptr, 10);
    if (name[0] == 'd') {
      fillFolder({folder.level + 1, folder.id * kFanOut + uint32_t(index)}, result);
    } else {
      std::memset(result, 0, sizeof *result);
      result->st_dev = 1;
      result->st_mode = S_IFREG | 0644;
      result->st_ino = (uint64_t(folder.id) << 32) + index + 1;
      // 1 to 64 blocks, scattered by a multiplicative hash of the position.
      result->st_blocks = blkcnt_t(1 + ((result->st_ino * 0x9E3779B97F4A7C15ull) >> 58));
    }
    return 0;
  }
  int statOpen(int directory, struct stat* result) const override {
    Folder folder = folderOf(directory);
    if (folder.level < 0) return fail(EBADF);
    fillFolder(folder, result);
    return 0;
  }
  int statPath(const char*, struct stat* result) const override {
    fillFolder({0, 0}, result);
    return 0;
  }
  void closeDirectory(int directory) const override {
    std::lock_guard lock(mutex_);
    open_.erase(directory);
  }
  TMFileSystemSizes fileSystemSizes(const char*) const override { return {}; }
  std::vector<std::string> mountedLocalVolumePaths() const override { return {}; }

 private:
  struct Folder {
    int level;  // 0 the root, -1 none
    uint32_t id;
  };
  struct Cursor {
    Folder folder;
    uint64_t next;
  };
  static int fail(int error) {
    errno = error;
    return -1;
  }
  static void fillFolder(Folder folder, struct stat* result) {
    std::memset(result, 0, sizeof *result);
    result->st_dev = 1;
    result->st_mode = S_IFDIR | 0755;
    result->st_ino = (uint64_t(folder.level + 1) << 40) + folder.id;
  }
  int open(Folder folder) const {
    std::lock_guard lock(mutex_);
    open_[nextDescriptor_] = {folder, 0};
    return nextDescriptor_++;
  }
  Folder folderOf(int directory) const {
    std::lock_guard lock(mutex_);
    auto found = open_.find(directory);
    return found == open_.end() ? Folder{-1, 0} : found->second.folder;
  }

  std::atomic<uint64_t> filesPerFolder_;
  mutable std::mutex mutex_;
  mutable std::map<int, Cursor> open_;
  mutable int nextDescriptor_ = 1000;
};

}  // namespace tilemora
