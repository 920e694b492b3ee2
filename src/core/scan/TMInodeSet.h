// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A set of files by device and inode: the files of several hard links a
// scan has met, when each is to count once.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <unordered_set>
#include <utility>

namespace tilemora {

struct TMInodeHash {
  size_t operator()(const std::pair<dev_t, ino_t>& file) const {
    return std::hash<uint64_t>()(uint64_t(file.second) * 0x9E3779B97F4A7C15ull ^ uint64_t(file.first));
  }
};

using TMInodeSet = std::unordered_set<std::pair<dev_t, ino_t>, TMInodeHash>;

}  // namespace tilemora
