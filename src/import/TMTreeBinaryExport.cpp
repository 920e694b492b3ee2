// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeBinaryExport.h"

#include <vector>

#include "TMBinaryTreeWriter.h"
#include "TMTreeExport.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

bool writeTreeBinaryExport(const TMFileTree& root, const TMTreeExportHeader& header, std::FILE* out,
                           const std::stop_token& stop) {
  const TMFolderTree* top = root.asVolume() != nullptr ? root.asVolume()->child() : root.asFolder();
  TMBinaryExportWriter blocks(out);
  TMBinaryTreeWriter tree(blocks);
  tree.enterFolder(header.rootPath);
  struct Level {
    const TMFolderTree* folder;
    uint32_t next;
  };
  std::vector<Level> levels;
  if (top != nullptr) {
    if (top->isUnreadable()) tree.markFolderUnreadable();
    levels.push_back({top, 0});
  }
  uint64_t written = 0;
  while (!levels.empty()) {
    if (++written % 4096 == 0 && stop.stop_requested()) return false;
    Level& level = levels.back();
    const TMChildList* children = level.folder->children();
    if (children == nullptr || level.next >= children->count()) {
      tree.leaveFolder();
      levels.pop_back();
      continue;
    }
    const TMFileTree* child = children->at(level.next++);
    if (const TMFolderTree* folder = child->asFolder()) {
      tree.enterFolder(child->filename());
      if (folder->isUnreadable()) tree.markFolderUnreadable();
      levels.push_back({folder, 0});
    } else if (child->kind() == TMNodeKind::File) {
      TMBinaryItem file;
      file.name = child->filename();
      file.asize = lengthOf(*child, header.measure);
      file.dsize = allocatedSizeOf(*child, header.measure);
      if (child->modifiedTime() != 0) file.mtime = child->modifiedTime();
      tree.addEntry(std::move(file));
    }
  }
  return tree.finish() && !stop.stop_requested();
}

}  // namespace tilemora
