// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One side of a comparison of two scans, listed a folder at a time: a tree
// held in memory, or a binary export read folder by folder, so that a scan
// need not be held whole to be compared.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilemora {

class TMFileTree;
class TMFolderTree;

// Where a folder's entries are: its node in a tree held in memory, or the
// item of its last entry in a binary export (none: it is empty).
struct TMComparedFolder {
  const TMFolderTree* node = nullptr;
  std::optional<uint64_t> lastEntry;
};

struct TMComparedEntry {
  std::string_view name;  // raw bytes, valid until the side lists again
  uint64_t size = 0;      // a folder's: of everything below it
  bool folder = false;
  const TMFileTree* node = nullptr;  // in a tree held in memory; none otherwise
  TMComparedFolder contents;         // a folder's entries
};

class TMComparedTree {
 public:
  virtual ~TMComparedTree() = default;
  // The compared folder (a volume's folder) and its size.
  virtual TMComparedFolder top() const = 0;
  virtual uint64_t topSize() const = 0;
  // The files and folders of `folder`, in any order, into `entries`
  // (cleared first); why not, when they cannot be read.
  virtual std::optional<std::string> list(const TMComparedFolder& folder, std::vector<TMComparedEntry>& entries) = 0;
  // Whether the entries of `folder` are known: a folder of a saved scan
  // not read yet is compared by its size alone.
  virtual bool knows(const TMComparedFolder&) const { return true; }
};

}  // namespace tilemora
