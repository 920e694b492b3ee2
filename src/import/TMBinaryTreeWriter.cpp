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
  folder.own.item = std::move(fields);
  folders_.push_back(std::move(folder));
}

void TMBinaryTreeWriter::markFolderUnreadable() {
  if (folders_.empty()) return;
  OpenFolder& folder = folders_.back();
  if (!folder.shared) {
    folder.own.unreadable = true;
    return;
  }
  std::lock_guard<std::mutex> lock(folder.shared->mutex_);
  folder.shared->totals_.unreadable = true;
}

uint64_t TMBinaryTreeWriter::append(Totals* parent, TMBinaryItem& item) {
  if (parent != nullptr) item.prev = parent->lastEntry;
  const uint64_t reference = blocks_.add(item);
  if (parent != nullptr) {
    parent->lastEntry = reference;
    ++parent->items;
  }
  return reference;
}

void TMBinaryTreeWriter::addTo(Totals& folder, TMBinaryItem& entry) {
  if (!entry.isExcluded()) {
    folder.asize = saturatingSum(folder.asize, entry.asize.value_or(0));
    folder.dsize = saturatingSum(folder.dsize, entry.dsize.value_or(0));
  }
  append(&folder, entry);
}

void TMBinaryTreeWriter::addEntry(TMBinaryItem entry) {
  if (folders_.empty()) return;
  OpenFolder& folder = folders_.back();
  if (!folder.shared) {
    addTo(folder.own, entry);
    return;
  }
  std::lock_guard<std::mutex> lock(folder.shared->mutex_);
  addTo(folder.shared->totals_, entry);
}

uint64_t TMBinaryTreeWriter::writeFolder(Totals& folder, Totals* parent) {
  TMBinaryItem& item = folder.item;
  item.sub = folder.lastEntry;
  item.cumulativeAsize = saturatingSum(folder.asize, item.asize.value_or(0));
  item.cumulativeDsize = saturatingSum(folder.dsize, item.dsize.value_or(0));
  item.items = folder.items;
  if (folder.unreadable) item.readError = true;
  else if (folder.unreadableBelow) item.readError = false;
  const uint64_t reference = append(parent, item);
  if (parent != nullptr) {
    parent->asize = saturatingSum(parent->asize, *item.cumulativeAsize);
    parent->dsize = saturatingSum(parent->dsize, *item.cumulativeDsize);
    parent->items += folder.items;
    parent->unreadableBelow = parent->unreadableBelow || folder.unreadable || folder.unreadableBelow;
  }
  return reference;
}

void TMBinaryTreeWriter::writeShared(std::shared_ptr<SharedFolder> folder) {
  // Nothing else adds to a folder whose parts have all ended: it is read
  // without its lock, after the lock under which its last part ended.
  while (folder->parent_ != nullptr) {
    std::shared_ptr<SharedFolder> parent = folder->parent_;
    {
      std::lock_guard<std::mutex> lock(parent->mutex_);
      folder->written_ = writeFolder(folder->totals_, &parent->totals_);
      if (--parent->unfinished_ != 0) return;
    }
    folder = std::move(parent);
  }
  folder->written_ = writeFolder(folder->totals_, nullptr);
}

void TMBinaryTreeWriter::leaveFolder() {
  if (folders_.empty()) return;
  OpenFolder folder = std::move(folders_.back());
  folders_.pop_back();
  if (folder.shared) {
    {
      std::lock_guard<std::mutex> lock(folder.shared->mutex_);
      if (--folder.shared->unfinished_ != 0) return;
    }
    writeShared(std::move(folder.shared));
    return;
  }
  if (folders_.empty()) {
    root_ = writeFolder(folder.own, nullptr);
    return;
  }
  OpenFolder& parent = folders_.back();
  if (!parent.shared) {
    writeFolder(folder.own, &parent.own);
    return;
  }
  std::lock_guard<std::mutex> lock(parent.shared->mutex_);
  writeFolder(folder.own, &parent.shared->totals_);
}

void TMBinaryTreeWriter::shareFolders() {
  // Shared folders are the first ones entered: the walk goes down from a
  // folder handed over, and those above a folder handed off were shared.
  // Only the folders entered since are looked at.
  size_t first = folders_.size();
  while (first > 0 && !folders_[first - 1].shared) --first;
  for (size_t i = first; i < folders_.size(); ++i) {
    OpenFolder& folder = folders_[i];
    folder.shared = std::make_shared<SharedFolder>();
    folder.shared->totals_ = std::move(folder.own);
    if (i == 0) {
      handedRoot_ = folder.shared;
      continue;
    }
    SharedFolder& above = *folders_[i - 1].shared;
    folder.shared->parent_ = folders_[i - 1].shared;
    std::lock_guard<std::mutex> lock(above.mutex_);
    ++above.unfinished_;
  }
}

std::shared_ptr<TMBinaryTreeWriter::SharedFolder> TMBinaryTreeWriter::handOffFolder() {
  if (folders_.empty()) return nullptr;
  shareFolders();
  std::shared_ptr<SharedFolder> folder = std::move(folders_.back().shared);
  folders_.pop_back();
  return folder;
}

void TMBinaryTreeWriter::continueFolder(std::shared_ptr<SharedFolder> folder) {
  if (folder == nullptr) return;
  OpenFolder open;
  open.shared = std::move(folder);
  folders_.push_back(std::move(open));
}

bool TMBinaryTreeWriter::finish() {
  while (!folders_.empty()) leaveFolder();
  if (!root_ && handedRoot_ != nullptr) {
    // Written by whichever thread ended its last part; the threads have
    // ended since. A root never written leaves the export unfinished.
    if (!handedRoot_->written_) {
      blocks_.finish(0);
      return false;
    }
    root_ = handedRoot_->written_;
  }
  // A tree of nothing at all still needs a root to name.
  if (!root_) {
    enterFolder("/");
    leaveFolder();
  }
  return blocks_.finish(*root_);
}

}  // namespace tilemora
