// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeSearch.h"

#include <algorithm>

#include "TMFolderTree.h"

namespace tilemora {

namespace {

constexpr uint64_t kEntriesBetweenChecks = 4096;

}  // namespace

TMSearchResult searchTree(const TMFileTree& start, const std::function<bool(std::string_view name)>& matches,
                          const std::function<bool()>& stillWanted) {
  TMSearchResult result;
  struct Level {
    const TMFolderTree* folder;
    uint32_t next;
    bool insideMatch;  // this folder or one above it matched
    TMHeldBytes covered;  // the bytes of the covered files met so far
  };
  std::vector<Level> levels;
  std::vector<std::string_view> path;
  const TMFolderTree* folder = start.asFolder();
  if (folder == nullptr) return result;
  levels.push_back({folder, 0, false, {}});
  uint64_t entries = 0;
  while (!levels.empty()) {
    Level& level = levels.back();
    const TMChildList* list = level.folder->children();
    if (list == nullptr || level.next >= list->count()) {
      // The folder is done: what it covers counts for the one above too.
      const Level done = level;
      levels.pop_back();
      if (done.covered.below != 0) {
        result.coveredBytes.emplace(done.folder, done.covered);
        if (!levels.empty()) levels.back().covered.below += done.covered.below;
      }
      if (!levels.empty()) path.pop_back();
      continue;
    }
    if (++entries % kEntriesBetweenChecks == 0 && stillWanted && !stillWanted()) {
      TMSearchResult abandoned;
      abandoned.abandoned = true;
      return abandoned;
    }
    const TMFileTree* child = list->at(level.next++);
    const bool inside = level.insideMatch;
    const bool matched = matches(child->filename());
    if (matched) {
      std::string joined;
      for (std::string_view name : path) joined.append(name).push_back('/');
      joined.append(child->filename());
      result.matches.push_back({child, std::move(joined)});
      if (!inside) result.bytes += child->diskSize();
    }
    if (const TMFolderTree* below = child->asFolder()) {
      path.push_back(below->filename());
      // Below a match, every file is covered.
      levels.push_back({below, 0, inside || matched, {.allHere = inside || matched}});
    } else if (matched || inside) {
      // A matched file, or any file below a matched folder.
      result.coveredFiles.insert(child);
      if (child->kind() == TMNodeKind::File) {
        level.covered.below += child->diskSize();
        level.covered.here += child->diskSize();
      }
    }
  }
  std::stable_sort(result.matches.begin(), result.matches.end(), [](const TMSearchMatch& a, const TMSearchMatch& b) {
    return a.node->diskSize() > b.node->diskSize();
  });
  return result;
}

}  // namespace tilemora
