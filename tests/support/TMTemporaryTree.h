// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder under the system's temporary directory that a test fills with
// awkward content and that is removed, however deep, when the test ends.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tilemora::test {

class TMTemporaryTree {
 public:
  // A new folder under `base`, or under $TMPDIR (else /tmp) when none is given.
  explicit TMTemporaryTree(const char* base = nullptr);
  // Under /dev/shm when it is there: memory-backed, for trees of millions of entries.
  static const char* fastestBase();
  ~TMTemporaryTree();
  TMTemporaryTree(const TMTemporaryTree&) = delete;
  TMTemporaryTree& operator=(const TMTemporaryTree&) = delete;

  const std::string& path() const { return root_; }
  std::string pathOf(std::string_view relative) const;

  // Creates a folder (and its missing parents) below the root.
  void makeFolder(std::string_view relative) const;
  // Creates a file holding `bytes` bytes of data; answers its allocated size.
  uint64_t makeFile(std::string_view relative, uint64_t bytes = 0) const;
  void makeSymlink(std::string_view relative, std::string_view target) const;
  void makeFifo(std::string_view relative) const;
  void makeSocket(std::string_view relative) const;

  // Allocated size (st_blocks × 512) of an entry, without following links.
  uint64_t allocatedSize(std::string_view relative) const;

  // How many entries the folder at `path` holds ("." and ".." aside).
  static size_t entryCount(const std::string& path);

  // Removes a whole tree without building full paths, so depth is no limit.
  static void removeRecursively(int parentDirectory, const char* name);

 private:
  std::string root_;
};

}  // namespace tilemora::test
