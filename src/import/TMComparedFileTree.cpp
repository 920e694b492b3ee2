// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMComparedFileTree.h"

#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

TMComparedFileTree::TMComparedFileTree(const TMFileTree& root, bool foldersCutShortUnknown)
    : folder_(root.asVolume() != nullptr ? root.asVolume()->child() : root.asFolder()),
      foldersCutShortUnknown_(foldersCutShortUnknown) {}

bool TMComparedFileTree::knows(const TMComparedFolder& folder) const {
  return !foldersCutShortUnknown_ || folder.node == nullptr || !folder.node->wasCutShort();
}

uint64_t TMComparedFileTree::topSize() const { return folder_ != nullptr ? folder_->diskSize() : 0; }

std::optional<std::string> TMComparedFileTree::list(const TMComparedFolder& folder,
                                                    std::vector<TMComparedEntry>& entries) {
  entries.clear();
  const TMChildList* children = folder.node != nullptr ? folder.node->children() : nullptr;
  for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
    const TMFileTree& child = *children->at(i);
    // Free and unscanned space are no entries.
    const TMFolderTree* sub = child.asFolder();
    if (child.kind() != TMNodeKind::File && sub == nullptr) continue;
    entries.push_back({child.filename(), child.diskSize(), sub != nullptr, &child, {sub, std::nullopt}});
  }
  return std::nullopt;
}

}  // namespace tilemora
