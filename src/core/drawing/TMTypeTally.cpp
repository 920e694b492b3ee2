// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTypeTally.h"

#include <algorithm>

namespace tilemora {

TMTypeTally::TMTypeTally() {
  for (size_t i = 0; i < kFileCategoryCount; ++i) categories_[i].category = TMFileCategory(i);
}

void TMTypeTally::add(std::string_view name, uint64_t bytes) {
  std::string extension = extensionOf(name);
  auto [entry, added] = extensions_.try_emplace(extension);
  if (added) {
    entry->second.extension = std::move(extension);
    entry->second.category = categoryOfExtension(entry->second.extension);
  }
  for (TMTypeTotal* total : {&entry->second, &categories_[size_t(entry->second.category)]}) {
    total->bytes += bytes;
    ++total->files;
  }
  bytes_ += bytes;
}

TMTypeStatistics TMTypeTally::statistics() const {
  TMTypeStatistics statistics;
  statistics.bytes = bytes_;
  auto largestFirst = [](const TMTypeTotal& a, const TMTypeTotal& b) {
    return a.bytes != b.bytes ? a.bytes > b.bytes : a.extension < b.extension;
  };
  for (const TMTypeTotal& category : categories_) {
    if (category.files > 0) statistics.categories.push_back(category);
  }
  std::stable_sort(statistics.categories.begin(), statistics.categories.end(), largestFirst);
  for (const auto& [extension, total] : extensions_) statistics.extensions.push_back(total);
  std::sort(statistics.extensions.begin(), statistics.extensions.end(), largestFirst);
  return statistics;
}

}  // namespace tilemora
