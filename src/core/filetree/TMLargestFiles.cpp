// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLargestFiles.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <tuple>

#include "TMFolderTree.h"

namespace tilemora {

namespace {

struct Candidate {
  uint64_t size;
  uint64_t order;  // when the walk met it
  TMLargeFile entry;
};

// Orders the heap so that its top is the candidate to drop first: the
// smallest, and of equal sizes the one met last.
struct DropsFirst {
  bool operator()(const Candidate& a, const Candidate& b) const {
    return std::tie(a.size, b.order) > std::tie(b.size, a.order);
  }
};

}  // namespace

std::vector<TMLargeFile> largestFiles(const TMFileTree& start, size_t count) {
  std::priority_queue<Candidate, std::vector<Candidate>, DropsFirst> best;
  uint64_t met = 0;
  std::vector<std::string_view> path;  // the folders below the start being walked
  auto consider = [&](const TMFileTree& file) {
    const uint64_t size = file.diskSize();
    const uint64_t order = met++;
    if (count == 0) return;
    if (best.size() == count && size <= best.top().size) return;
    std::string folder;
    for (std::string_view name : path) (folder.empty() ? folder : folder += '/').append(name);
    best.push({size, order, {&file, std::move(folder)}});
    if (best.size() > count) best.pop();
  };

  // Depth first without recursion: a folder and the next of its children.
  struct Level {
    const TMFolderTree* folder;
    uint32_t next;
  };
  std::vector<Level> levels;
  if (const TMFolderTree* folder = start.asFolder()) {
    levels.push_back({folder, 0});
  } else if (start.kind() == TMNodeKind::File) {
    consider(start);
  }
  while (!levels.empty()) {
    Level& level = levels.back();
    const TMChildList* list = level.folder->children();
    if (list == nullptr || level.next >= list->count()) {
      levels.pop_back();
      if (!path.empty() && !levels.empty()) path.pop_back();
      continue;
    }
    const TMFileTree* child = list->at(level.next++);
    if (const TMFolderTree* folder = child->asFolder()) {
      path.push_back(folder->filename());
      levels.push_back({folder, 0});
    } else if (child->kind() == TMNodeKind::File) {
      consider(*child);
    }
  }

  std::vector<TMLargeFile> files(best.size());
  for (size_t i = files.size(); i-- > 0; best.pop()) files[i] = best.top().entry;
  return files;
}

}  // namespace tilemora
