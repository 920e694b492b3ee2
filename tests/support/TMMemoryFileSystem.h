// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file system held in memory, for tests that need exact sizes or large
// random trees: the scan reads it through the same seam as the disk.
// Sizes are given in 512-byte blocks, the unit of st_blocks. A file is
// dated by its size: 1700000000 plus a minute per block.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/platform/TMFileSystem.h"

namespace tilemora::test {

struct TMMemoryEntry {
  std::string name;
  uint64_t blocks = 0;
  bool folder = false;
  std::vector<TMMemoryEntry> children;

  TMMemoryEntry(std::string name, uint64_t blocks, bool folder, std::vector<TMMemoryEntry> children)
      : name(std::move(name)), blocks(blocks), folder(folder), children(std::move(children)) {}
  TMMemoryEntry(const TMMemoryEntry&) = default;
  TMMemoryEntry(TMMemoryEntry&&) = default;
  TMMemoryEntry& operator=(const TMMemoryEntry&) = default;
  TMMemoryEntry& operator=(TMMemoryEntry&&) = default;
  // Without recursion: trees in tests may be deeper than the stack allows.
  ~TMMemoryEntry();

  static TMMemoryEntry file(std::string name, uint64_t blocks) {
    return {std::move(name), blocks, false, {}};
  }
  static TMMemoryEntry directory(std::string name, std::vector<TMMemoryEntry> children) {
    return {std::move(name), 0, true, std::move(children)};
  }
};

class TMMemoryFileSystem : public TMFileSystem {
 public:
  explicit TMMemoryFileSystem(TMMemoryEntry root) : root_(std::move(root)) {}

  // Any path opens the root; ".." opens a folder's parent (the root's is
  // the root).
  int openDirectory(const char* path) const override;
  int openDirectoryAt(int directory, const char* name) const override;
  long readEntries(int directory, char* buffer, size_t capacity) const override;
  bool seekDirectory(int directory, int64_t offset) const override;
  int statAt(int directory, const char* name, struct stat* result,
             bool* isMountRoot = nullptr) const override;
  int statOpen(int directory, struct stat* result) const override;
  int statPath(const char* path, struct stat* result) const override;
  void closeDirectory(int directory) const override;
  std::vector<std::string> mountedLocalVolumePaths() const override { return mountPoints; }
  TMFileSystemSizes fileSystemSizes(const char*) const override { return sizes; }

  TMFileSystemSizes sizes;  // what a volume scanned here measures
  std::vector<std::string> mountPoints;  // volumes other than "/", which always is one

 private:
  struct OpenFolder {
    const TMMemoryEntry* entry;
    size_t nextChild;
  };
  const TMMemoryEntry* childOf(int directory, const char* name) const;
  const TMMemoryEntry* parentOf(const TMMemoryEntry* folder) const;  // with mutex_ held
  int open(const TMMemoryEntry* entry) const;

  TMMemoryEntry root_;
  // Scans and the checks made before opening a folder may overlap.
  mutable std::mutex mutex_;
  mutable std::map<int, OpenFolder> open_;
  mutable int nextDescriptor_ = 1000;
  // Each folder's parent, made on the first "..", and the children of each
  // folder by name, made on the first look-up in it.
  mutable std::map<const TMMemoryEntry*, const TMMemoryEntry*> parents_;
  mutable std::map<const TMMemoryEntry*, std::unordered_map<std::string_view, const TMMemoryEntry*>> childIndex_;
};

}  // namespace tilemora::test
