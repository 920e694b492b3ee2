// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMComparedBinaryExport.h"

#include "TMBinaryExportReader.h"
#include "TMImportTarget.h"

namespace tilemora {

TMComparedBinaryExport::TMComparedBinaryExport(std::unique_ptr<TMBinaryExportReader> reader, bool byLength)
    : reader_(std::move(reader)), byLength_(byLength) {}

TMComparedBinaryExport::~TMComparedBinaryExport() = default;

std::unique_ptr<TMComparedBinaryExport> TMComparedBinaryExport::open(std::unique_ptr<TMBinaryExportReader> reader,
                                                                     bool byLength, std::string& error) {
  std::unique_ptr<TMComparedBinaryExport> side(new TMComparedBinaryExport(std::move(reader), byLength));
  const std::optional<uint64_t> mostItems = side->reader_->mostItems(error);
  if (!mostItems) return nullptr;
  std::optional<TMBinaryItem> root = side->reader_->item(side->reader_->root(), error);
  if (!root) {
    error = "the root: " + error;
    return nullptr;
  }
  if (!root->isFolder()) {
    error = "the scanned path must be a folder";
    return nullptr;
  }
  side->root_ = std::move(*root);
  side->mostItems_ = *mostItems;
  return side;
}

uint64_t TMComparedBinaryExport::folderSize(const TMBinaryItem& item) const {
  return (byLength_ ? item.cumulativeAsize : item.cumulativeDsize).value_or(0);
}

uint64_t TMComparedBinaryExport::fileSize(const TMBinaryItem& item) const {
  const uint64_t onDisk = item.dsize.value_or(item.asize.value_or(0));
  return byLength_ ? item.asize.value_or(onDisk) : onDisk;
}

std::optional<std::string> TMComparedBinaryExport::list(const TMComparedFolder& folder,
                                                        std::vector<TMComparedEntry>& entries) {
  entries.clear();
  items_.clear();
  std::string error;
  if (!reader_->entriesOf(folder.lastEntry, error, &items_)) return error;
  itemsListed_ += items_.size();
  if (itemsListed_ > mostItems_) return std::string("an item is referred to more than once");
  for (const TMBinaryItem& item : items_) {
    if (!TMImportTarget::isEntryName(item.name)) return "\"" + item.name + "\" cannot be the name of an entry";
    if (item.isFolder()) {
      entries.push_back({item.name, folderSize(item), true, nullptr, {nullptr, item.sub}});
    } else if (!item.isExcluded() || item.type == TMBinaryItemType::kUnreadable) {
      entries.push_back({item.name, fileSize(item), false, nullptr, {}});
    }
  }
  return std::nullopt;
}

}  // namespace tilemora
