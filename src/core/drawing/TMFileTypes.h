// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What kind of file a name says it is, from its extension alone (no file is
// opened): a handful of categories a user recognises. Extensions compare
// without case: ".JPG" is ".jpg".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tilemora {

class TMFileTree;

enum class TMFileCategory : uint8_t {
  kImages,
  kVideo,
  kAudio,
  kDocuments,
  kArchives,  // archives and packages
  kSourceCode,
  kPrograms,  // executables and libraries
  kOther,
};
inline constexpr size_t kFileCategoryCount = 8;

// The category's name in English ("Images", "Archives and packages"…),
// the key of its translations.
const char* categoryName(TMFileCategory category);

// The extension of `name`, lowercased, without its dot: "tar.gz" names end
// in "gz"; "" for none (no dot, or only a leading one, as ".bashrc").
// Versioned shared libraries ("libz.so.1.3") count as "so".
std::string extensionOf(std::string_view name);

// The category of an extension as extensionOf gives it.
TMFileCategory categoryOfExtension(std::string_view extension);

// One row of the types table: a category (empty extension) or an extension.
struct TMTypeTotal {
  TMFileCategory category = TMFileCategory::kOther;
  std::string extension;  // empty for a category's own row
  uint64_t bytes = 0;
  uint64_t files = 0;
};

struct TMTypeStatistics {
  std::vector<TMTypeTotal> categories;  // every category with files, largest first
  std::vector<TMTypeTotal> extensions;  // every extension, largest first ("" for none)
  uint64_t bytes = 0;                   // of every file counted
};

// The files below `start` by category and by extension. Only once no scan
// writes the tree.
TMTypeStatistics typeStatisticsOf(const TMFileTree& start);

}  // namespace tilemora
