// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nodes on the way from a node of a file tree down to the node a path
// names, found by one walk by names. A deletion resolves its path once and
// the file tree, the layout and the view all work from the answer.

#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMFileTree;
class TMFolderTree;

class TMFileTreePath {
 public:
  // Walks from `start`, which parts[index] is to name, down by the names
  // that follow. A path going on below a file is an internal fault.
  static TMFileTreePath resolve(TMFileTree& start, const std::vector<std::string>& parts, uint64_t index);

  // Whether parts[index] names the start.
  bool startsHere() const { return startsHere_; }
  // The node the whole path names; null when the start is not named or a
  // name below it is missing.
  TMFileTree* target() const { return target_; }
  // The folders from the start down to the target's parent: empty when the
  // target is the start.
  const std::vector<TMFolderTree*>& folders() const { return folders_; }
  // Where the target lies in its parent's child list.
  uint32_t targetPosition() const { return targetPosition_; }
  // The target's path.
  const TMFileURL& url() const { return url_; }

 private:
  bool startsHere_ = false;
  TMFileTree* target_ = nullptr;
  std::vector<TMFolderTree*> folders_;
  uint32_t targetPosition_ = 0;
  TMFileURL url_;
};

}  // namespace tilemora
