// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMOpenFolderChain.h"

#include <sys/stat.h>

#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

TMOpenFolderChain::~TMOpenFolderChain() {
  for (Level& level : levels_) close(level);
}

void TMOpenFolderChain::close(Level& level) {
  if (level.descriptor < 0) return;
  fileSystem_.closeDirectory(level.descriptor);
  level.descriptor = -1;
}

void TMOpenFolderChain::enter(int descriptor, dev_t device, ino_t inode) {
  levels_.push_back({descriptor, device, inode, 0});
  // Level 0 stays open: it is where the names of closed levels start.
  if (levels_.size() > keptOpen_ + 1) close(levels_[levels_.size() - 1 - keptOpen_]);
}

bool TMOpenFolderChain::leave(const std::vector<TMFolderTree*>& path) {
  const size_t deepest = levels_.size() - 1;
  bool found = true;
  if (deepest > 0) {
    Level& above = levels_[deepest - 1];
    if (above.descriptor < 0) {
      above.descriptor = reopen(deepest - 1, levels_[deepest].descriptor, path);
      found = above.descriptor >= 0;
    }
  }
  close(levels_[deepest]);
  levels_.pop_back();
  return found;
}

bool TMOpenFolderChain::isLevel(int descriptor, const Level& level) const {
  struct stat info {};
  return fileSystem_.statOpen(descriptor, &info) == 0 && info.st_dev == level.device &&
         info.st_ino == level.inode &&
         fileSystem_.seekDirectory(descriptor, level.resumeOffset);
}

int TMOpenFolderChain::reopen(size_t level, int below, const std::vector<TMFolderTree*>& path) const {
  const Level& wanted = levels_[level];
  if (below >= 0) {
    int parent = fileSystem_.openDirectoryAt(below, "..");
    if (parent >= 0 && isLevel(parent, wanted)) return parent;
    if (parent >= 0) fileSystem_.closeDirectory(parent);
  }
  // By names, from the nearest level above that is open (level 0 always is).
  size_t start = level;
  while (start > 0 && levels_[start].descriptor < 0) --start;
  if (levels_[start].descriptor < 0) return -1;
  int current = levels_[start].descriptor;
  for (size_t i = start + 1; i <= level && current >= 0; ++i) {
    int next = fileSystem_.openDirectoryAt(current, path[i]->filenameCString());
    if (current != levels_[start].descriptor) fileSystem_.closeDirectory(current);
    current = next;
  }
  if (current >= 0 && isLevel(current, wanted)) return current;
  if (current >= 0) fileSystem_.closeDirectory(current);
  return -1;
}

}  // namespace tilemora
