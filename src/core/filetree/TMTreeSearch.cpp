// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeSearch.h"

#include <algorithm>

#include "TMFilesBelow.h"

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
  };
  std::vector<Level> levels;
  std::vector<std::string_view> path;
  const TMFolderTree* folder = start.asFolder();
  if (folder == nullptr) return result;
  levels.push_back({folder, 0, false});
  uint64_t entries = 0;
  while (!levels.empty()) {
    Level& level = levels.back();
    const TMChildList* list = level.folder->children();
    if (list == nullptr || level.next >= list->count()) {
      levels.pop_back();
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
      if (matched && !inside) {
        forEachFileBelow(*below, [&](const TMFileTree& file) { result.coveredFiles.insert(&file); });
      }
      path.push_back(below->filename());
      levels.push_back({below, 0, inside || matched});
    } else if (matched) {
      result.coveredFiles.insert(child);
    }
  }
  std::stable_sort(result.matches.begin(), result.matches.end(), [](const TMSearchMatch& a, const TMSearchMatch& b) {
    return a.node->diskSize() > b.node->diskSize();
  });
  return result;
}

}  // namespace tilemora
