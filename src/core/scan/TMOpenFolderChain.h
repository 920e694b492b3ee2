// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The open folders on the path a scan is listing, from the folder it started
// at (level 0) down to the one being listed. Only a bounded number stay
// open: past kKeptOpen levels the descriptor of the level that many above
// the deepest is closed, so a deep tree never exhausts the process's open
// files (and never makes another open() of the process fail). A closed
// level is opened again when the scan comes back to it: through ".." of the
// folder below it, else by name from the nearest open level above; either
// way it must be the same folder (device and inode), and its listing goes on
// from where its last read ended.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tilemora {

class TMFileSystem;
class TMFolderTree;

class TMOpenFolderChain {
 public:
  static constexpr size_t kKeptOpen = 64;

  // Keeps the start and the `keptOpen` deepest levels open.
  explicit TMOpenFolderChain(const TMFileSystem& fileSystem, size_t keptOpen = kKeptOpen)
      : fileSystem_(fileSystem), keptOpen_(keptOpen) {}
  TMOpenFolderChain(const TMOpenFolderChain&) = delete;
  TMOpenFolderChain& operator=(const TMOpenFolderChain&) = delete;
  // Closes whatever is still open.
  ~TMOpenFolderChain();

  // Takes the folder opened at `descriptor` as the next level down; the
  // chain closes it when the level is left.
  void enter(int descriptor, dev_t device, ino_t inode);
  // Closes the deepest level. When the level above it had been closed, it
  // is opened again first; answers false when it could not be (it was moved
  // or removed meanwhile), the level above then having no descriptor.
  // `path` holds the folders from level 0 down, at least to the level above;
  // their names lead back to it.
  bool leave(const std::vector<TMFolderTree*>& path);

  // The descriptor of `level`, or -1 when it could not be opened again.
  int descriptor(size_t level) const { return levels_[level].descriptor; }
  // Where reading `level` goes on after it has been opened again: the
  // position after the last entry read from it.
  void setResumeOffset(size_t level, int64_t offset) { levels_[level].resumeOffset = offset; }

 private:
  struct Level {
    int descriptor;
    dev_t device;
    ino_t inode;
    int64_t resumeOffset;
  };
  // Opens `level` again below the open `from` descriptor or by names; -1 if
  // no folder found that way is the same one.
  int reopen(size_t level, int below, const std::vector<TMFolderTree*>& path) const;
  bool isLevel(int descriptor, const Level& level) const;
  void close(Level& level);

  const TMFileSystem& fileSystem_;
  const size_t keptOpen_;
  std::vector<Level> levels_;
};

}  // namespace tilemora
