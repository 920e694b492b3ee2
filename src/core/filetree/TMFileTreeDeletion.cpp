// SPDX-License-Identifier: GPL-3.0-or-later
// Deletion in the file tree: the walk down the path, one name per level,
// the move of the target to the trash, and on the way back up the unlinking
// of the target and the lowering of every folder on the path.

#include <cstdio>

#include "TMFolderTree.h"
#include "TMVolume.h"
#include "core/platform/TMAssert.h"
#include "core/platform/TMEnoughStack.h"

namespace tilemora {

FileDeleteRez_t TMFileTree::deleteNodeWithURLParts(const std::vector<std::string>& parts,
                                                   uint64_t index, const TMTrashFunction& trash) {
  if (TMFolderTree* folder = asFolder()) return folder->deleteNodeWithURLParts(parts, index, trash);
  if (TMVolume* volume = asVolume()) return volume->deleteNodeWithURLParts(parts, index, trash);
  return deleteSelfWithURLParts(parts, index, trash);
}

FileDeleteRez_t TMFileTree::deleteSelfWithURLParts(const std::vector<std::string>& parts,
                                                   uint64_t index, const TMTrashFunction& trash) {
  if (parts[index] != filename()) return makeFileDeleteRez(DeletionNotHere, nullptr);
  if (index + 1 != parts.size()) return makeFileDeleteRez(DeletionDigg, this);
  // The trash first: a tree changed for an item still on disk would lie.
  TMTrashResult moved = trash(TMFileURL::fromPathComponents(parts));
  if (!moved.moved) return {DeletionFailed, this, std::move(moved.reason)};
  return makeFileDeleteRez(DeletionDone, this);
}

FileDeleteRez_t TMFolderTree::deleteNodeWithURLParts(const std::vector<std::string>& parts,
                                                     uint64_t index, const TMTrashFunction& trash) {
  FileDeleteRez_t own = deleteSelfWithURLParts(parts, index, trash);
  if (own.code != DeletionDigg) return own;
  TMChildList* list = children_.load(std::memory_order_seq_cst);
  const uint32_t count = list ? list->count() : 0;
  for (uint32_t position = 0; position < count; ++position) {
    TMFileTree* child = list->at(position);
    const uint64_t before = child->diskSize();
    FileDeleteRez_t answer =
        withEnoughStack([&] { return child->deleteNodeWithURLParts(parts, index + 1, trash); });
    switch (answer.code) {
      case DeletionDigg:
        TM_ASSERT(DeletionDigg == -1);  // a path going on below a plain file
        break;
      case DeletionUpdated:
        setDiskSize(diskSize() - (before - child->diskSize()));
        return answer;
      case DeletionDone:
        setDiskSize(diskSize() - before);
        list->removeAt(position);
        return makeFileDeleteRez(DeletionUpdated, child);
      case DeletionFailed:
        return answer;
      default:
        break;  // not this child: the next one
    }
  }
  return makeFileDeleteRez(DeletionUpdated, nullptr);
}

FileDeleteRez_t TMVolume::deleteNodeWithURLParts(const std::vector<std::string>&, uint64_t,
                                                 const TMTrashFunction&) {
  std::fputs("called\n", stderr);
  return makeFileDeleteRez(DeletionDone, nullptr);
}

}  // namespace tilemora
