// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an area of the map too small to draw its files one by one holds:
// the bytes of its files by the kind a colouring sorts them into (a file
// type, an age, a change). The area takes the colour of the kind the
// colouring picks from these, so that it tells the same as its files would.

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace tilemora {

class TMFileColoring;
class TMFileTree;

struct TMAreaTally {
  // More than any colouring sorts into (a picked-out change, 17, the most).
  static constexpr size_t kMaxKinds = 24;
  // By depth, an area's items are files, drawn at its level, or folders,
  // whose files are drawn a level deeper.
  static constexpr size_t kFilesHere = 0;
  static constexpr size_t kFilesDeeper = 1;
  // What largest() answers for an area that holds no file.
  static constexpr size_t kNone = kMaxKinds;
  std::array<uint64_t, kMaxKinds> bytes{};

  void add(const TMAreaTally& other) {
    for (size_t kind = 0; kind < kMaxKinds; ++kind) bytes[kind] += other.bytes[kind];
  }
  // By depth: counts `amount` for `item`, a file or a folder.
  void addByDepth(const TMFileTree& item, uint64_t amount);
  // The kind holding the most bytes (the first of equals), or kNone.
  size_t largest() const;
};

// The tallies of the areas drawn lately, each made once: the first frame of
// a colouring walks what the small folders on screen hold, the next ones
// find it here. Kept for folders (by file node) and for runs of tiny tiles
// (by their layout node), and forgotten whenever the tree or the colouring
// changes. Main thread only.
class TMAreaTallies {
 public:
  // The tally of every file below `node`, or of `node` alone when it is
  // one, by `coloring`'s kinds.
  TMAreaTally ofFiles(const TMFileTree& node, const TMFileColoring& coloring);
  // The tally by depth of the items of `folder`, its files and its folders,
  // as far as it takes to know which hold the most (not kept: it is quick).
  static TMAreaTally ofItems(const TMFileTree& folder);
  // The tally kept for `area`, or null; `keep` stores one.
  const TMAreaTally* find(const void* area) const;
  const TMAreaTally& keep(const void* area, const TMAreaTally& tally);
  void forget() { tallies_.clear(); }
  size_t size() const { return tallies_.size(); }

  // More than a frame of the largest window shows: past it, all is let go of.
  static constexpr size_t kMostKept = 16384;

 private:
  std::unordered_map<const void*, TMAreaTally> tallies_;
};

}  // namespace tilemora
