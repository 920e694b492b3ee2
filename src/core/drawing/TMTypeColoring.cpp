// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTypeColoring.h"

#include "core/filetree/TMFileTree.h"

namespace tilemora {

TMTypeColoring::TMTypeColoring() {
  for (size_t i = 0; i < kFileCategoryCount; ++i) colors_[i] = colorFromHtmlVal(categoryColorList[i]);
}

const TMColor* TMTypeColoring::colorOf(const TMFileTree& file, const TMColor&) const {
  return &colors_[size_t(categoryOf(file))];
}

TMFileCategory TMTypeColoring::categoryOf(const TMFileTree& file) const {
  std::string extension = extensionOf(file.filename());
  auto found = categories_.find(extension);
  if (found == categories_.end()) {
    const TMFileCategory category = categoryOfExtension(extension);
    found = categories_.emplace(std::move(extension), category).first;
  }
  return found->second;
}

}  // namespace tilemora
