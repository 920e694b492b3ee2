// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thin seam through which the scan reaches the file system. The real
// implementation is plain POSIX; tests derive from it to make chosen calls
// fail (unreadable folders, entries that vanish) or report chosen sizes.
//
// Folders are reached through directory descriptors and names relative to
// them, never through full paths, so that depth is limited only by the file
// system and not by PATH_MAX.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TMFileURL.h"

namespace tilemora {

struct TMFileSystemSizes {
  uint64_t totalSize = 0;  // bytes the file system holds in all
  uint64_t freeSize = 0;   // bytes not in use (reserved blocks included)
};

class TMFileSystem {
 public:
  virtual ~TMFileSystem() = default;

  // The process-wide POSIX implementation.
  static std::shared_ptr<TMFileSystem> posix();

  // Opens the folder at `path` (following a symbolic link given as the path
  // itself); answers a descriptor, or -1 with errno set.
  virtual int openDirectory(const char* path) const;
  // Opens the folder `name` inside `directory` without following a final
  // symbolic link; answers a descriptor, or -1 with errno set.
  virtual int openDirectoryAt(int directory, const char* name) const;
  // Reads the next raw entries (struct linux_dirent64 records) of an open
  // folder into `buffer`; answers the bytes read, 0 at the end, -1 on error.
  virtual long readEntries(int directory, char* buffer, size_t capacity) const;
  // Moves an open folder's reading to `offset`, a position its entries
  // gave (d_off); false when it cannot.
  virtual bool seekDirectory(int directory, int64_t offset) const;
  // lstat of `name` inside `directory`; 0 or -1 with errno set. When
  // `isMountRoot` is given it tells whether the entry is the root of a mount
  // (a bind mount of the same file system included; false where the system
  // cannot tell).
  virtual int statAt(int directory, const char* name, struct stat* result,
                     bool* isMountRoot = nullptr) const;
  virtual int statOpen(int directory, struct stat* result) const;
  // stat of `path`, following symbolic links; 0 or -1 with errno set.
  virtual int statPath(const char* path, struct stat* result) const;
  virtual void closeDirectory(int directory) const;

  // `url` with every symbolic link on it resolved, as the kernel sees it;
  // `url` itself when it cannot be resolved.
  virtual TMFileURL resolvedPath(const TMFileURL& url) const;

  // Total and free bytes of the file system holding `path`; all zero when
  // they cannot be read.
  virtual TMFileSystemSizes fileSystemSizes(const char* path) const;

  // The mount points of local volumes, as the mount table spells them.
  virtual std::vector<std::string> mountedLocalVolumePaths() const;
  // The kernel's mount table, as /proc/self/mountinfo gives it (empty when
  // it cannot be read).
  virtual std::string mountTable() const;
  // Reads the start of the file `name` inside `directory` (never following
  // a symbolic link, never waiting on a special file) into `buffer`;
  // answers the bytes read, or -1 with errno set.
  virtual long readFileStartAt(int directory, const char* name, char* buffer, size_t capacity) const;
};

}  // namespace tilemora
