// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest entries of a tree given depth first (a saved scan read
// without holding it) that a name accepts, with the folders that lead to
// each: what is held is the entries kept and the folders open, whatever
// the size of the tree. A folder's size is known once it is left.

#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <string_view>
#include <vector>

#include "TMTreeSink.h"

namespace tilemora {

struct TMLargestMatch {
  uint64_t size = 0;
  // The names of the folders below the start down to the entry's own
  // folder; then the entry's name.
  std::vector<std::string> folders;
  std::string name;
  bool folder = false;
};

class TMLargestMatches final : public TMTreeSink {
 public:
  using Accepts = std::function<bool(std::string_view name)>;
  // Keeps the `keep` largest files that `accepts` takes (every file
  // without it), and folders too with `folders`.
  TMLargestMatches(size_t keep, Accepts accepts, bool folders);

  // The entries kept, largest first (of equal sizes, the first met).
  std::vector<TMLargestMatch> largest();
  // How many entries matched, kept or not.
  uint64_t matched() const { return matched_; }

  void enterFolder(std::string_view name) override;
  void addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified) override;
  void markFolderUnreadable() override {}
  bool leaveFolder() override;

 private:
  struct Kept {
    uint64_t order;  // when the walk met it
    TMLargestMatch match;
  };
  // The top is the one to drop first: the smallest, of equal sizes the last met.
  struct DropsFirst {
    bool operator()(const Kept& a, const Kept& b) const;
  };
  struct Open {
    std::string name;
    uint64_t size;
    uint64_t order;
  };
  void offer(std::string_view name, uint64_t size, uint64_t order, bool folder);

  size_t keep_;
  Accepts accepts_;
  bool folders_;
  std::vector<Open> open_;  // the folders entered below the start and not left
  std::priority_queue<Kept, std::vector<Kept>, DropsFirst> kept_;
  uint64_t met_ = 0;
  uint64_t matched_ = 0;
};

}  // namespace tilemora
