// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryTreeWriter.h"

namespace tilemora {

namespace {

uint64_t saturatingSum(uint64_t a, uint64_t b) {
  uint64_t sum;
  return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
}

}  // namespace

void TMBinaryTreeWriter::enterFolder(std::string_view name, TMBinaryItem fields) {
  fields.type = TMBinaryItemType::kFolder;
  fields.name = name;
  OpenFolder folder;
  folder.item = std::move(fields);
  folders_.push_back(std::move(folder));
}

void TMBinaryTreeWriter::markFolderUnreadable() {
  if (!folders_.empty()) folders_.back().unreadable = true;
}

uint64_t TMBinaryTreeWriter::append(TMBinaryItem& item) {
  OpenFolder* parent = folders_.empty() ? nullptr : &folders_.back();
  if (parent != nullptr) item.prev = parent->lastEntry;
  const uint64_t reference = blocks_.add(item);
  if (parent != nullptr) {
    parent->lastEntry = reference;
    ++parent->items;
  }
  return reference;
}

void TMBinaryTreeWriter::addEntry(TMBinaryItem entry) {
  if (folders_.empty()) return;
  OpenFolder& parent = folders_.back();
  if (!entry.isExcluded()) {
    parent.asize = saturatingSum(parent.asize, entry.asize.value_or(0));
    parent.dsize = saturatingSum(parent.dsize, entry.dsize.value_or(0));
  }
  append(entry);
}

void TMBinaryTreeWriter::leaveFolder() {
  if (folders_.empty()) return;
  OpenFolder folder = std::move(folders_.back());
  folders_.pop_back();
  TMBinaryItem& item = folder.item;
  item.sub = folder.lastEntry;
  item.cumulativeAsize = saturatingSum(folder.asize, item.asize.value_or(0));
  item.cumulativeDsize = saturatingSum(folder.dsize, item.dsize.value_or(0));
  item.items = folder.items;
  if (folder.unreadable) item.readError = true;
  else if (folder.unreadableBelow) item.readError = false;
  const uint64_t reference = append(item);
  if (folders_.empty()) {
    root_ = reference;
    return;
  }
  OpenFolder& parent = folders_.back();
  parent.asize = saturatingSum(parent.asize, *item.cumulativeAsize);
  parent.dsize = saturatingSum(parent.dsize, *item.cumulativeDsize);
  parent.items += folder.items;
  parent.unreadableBelow = parent.unreadableBelow || folder.unreadable || folder.unreadableBelow;
}

bool TMBinaryTreeWriter::finish() {
  while (!folders_.empty()) leaveFolder();
  // A tree of nothing at all still needs a root to name.
  if (!root_) {
    enterFolder("/");
    leaveFolder();
  }
  return blocks_.finish(*root_);
}

}  // namespace tilemora
