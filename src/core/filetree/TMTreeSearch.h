// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding names in a tree: every file and folder below a start whose name a
// predicate accepts, largest first, with its path. A search can be told to
// give up (a newer one was asked for): it then answers nothing.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "TMBytesByFolder.h"

namespace tilemora {

class TMFileTree;

struct TMSearchMatch {
  const TMFileTree* node = nullptr;
  // The names below the start down to the node, joined by '/'.
  std::string path;
};

struct TMSearchResult {
  std::vector<TMSearchMatch> matches;  // largest first; equal sizes in walk order
  uint64_t bytes = 0;                  // of the matches, none counted twice (a match inside a matched folder)
  // The files the matches cover: matched files, and every file below a
  // matched folder.
  std::unordered_set<const TMFileTree*> coveredFiles;
  // The bytes of the covered files by the folders holding any (the start
  // too): an area of the map learns whether it holds a match, and how
  // much, without its files being walked.
  TMBytesByFolder coveredBytes;
  bool abandoned = false;  // given up: nothing else here holds
};

// Searches below `start` (the start itself is not a match). `stillWanted`
// is asked every few thousand entries; a false answer abandons the search.
// Only once no scan writes the tree.
TMSearchResult searchTree(const TMFileTree& start, const std::function<bool(std::string_view name)>& matches,
                          const std::function<bool()>& stillWanted = {});

}  // namespace tilemora
