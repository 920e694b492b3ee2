// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random trees for tests that compare two ways of drawing or reading one.

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "TMMemoryFileSystem.h"

namespace tilemora::test {

// Folders of up to 30 entries, 6 levels deep; sizes spread over four orders
// of magnitude, some files empty, some folders empty or holding only empty
// folders; names ending in .txt, .jpg or nothing.
inline TMMemoryEntry randomBranch(std::mt19937& random, const std::string& name, int depth) {
  TMMemoryEntry folder = TMMemoryEntry::directory(name, {});
  const int entries = std::uniform_int_distribution<int>(0, depth == 0 ? 30 : 14)(random);
  for (int i = 0; i < entries; ++i) {
    const std::string suffix = std::to_string(i) + (i % 3 == 0 ? ".txt" : i % 3 == 1 ? ".jpg" : "");
    if (depth < 6 && std::bernoulli_distribution(0.35)(random)) {
      folder.children.push_back(randomBranch(random, "folder " + suffix, depth + 1));
    } else if (std::bernoulli_distribution(0.05)(random)) {
      folder.children.push_back(TMMemoryEntry::file("empty " + suffix, 0));
    } else {
      const auto blocks = uint64_t(std::exp(std::uniform_real_distribution<double>(0, 9)(random)));
      folder.children.push_back(TMMemoryEntry::file("file " + suffix, blocks));
    }
  }
  return folder;
}

}  // namespace tilemora::test
