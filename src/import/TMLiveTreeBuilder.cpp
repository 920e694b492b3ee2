// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLiveTreeBuilder.h"

#include <cerrno>

#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMFolderTree.h"
#include "core/scan/TMProgressNotifiable.h"

namespace tilemora {

TMLiveTreeBuilder::TMLiveTreeBuilder(std::string_view rootName, TMProgressNotifiable* progress)
    : storage_(std::make_shared<TMFileTreeStorage>()), progress_(progress) {
  auto* root = TMFileTree::create<TMFolderTree>(storage_->arena, rootName);
  storage_->root = root;
  open_.push_back(root);
}

TMLiveTreeBuilder::~TMLiveTreeBuilder() = default;

std::shared_ptr<TMFileTree> TMLiveTreeBuilder::root() const {
  return std::shared_ptr<TMFileTree>(storage_, storage_->root);
}

void TMLiveTreeBuilder::enterFolder(std::string_view name) {
  auto* folder = TMFileTree::create<TMFolderTree>(storage_->arena, name);
  open_.back()->appendChild(folder, storage_->arena, storage_->recycler);
  open_.push_back(folder);
  if (progress_ != nullptr) progress_->notifyFileScanned();
}

void TMLiveTreeBuilder::addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified) {
  TMFileTree* file = TMFileTree::create<TMFileTree>(storage_->arena, name, size);
  file->setAlternateSize(length);
  if (modified != 0) file->setModifiedTime(modified);
  open_.back()->appendChild(file, storage_->arena, storage_->recycler);
  for (TMFolderTree* folder : open_) folder->addToDiskSize(size);
  if (progress_ != nullptr) progress_->notifyFileScanned();
}

void TMLiveTreeBuilder::markFolderUnreadable() {
  // Why is not said in a saved scan.
  open_.back()->markUnreadable(EIO);
  for (size_t i = 0; i + 1 < open_.size(); ++i) open_[i]->markUnreadableBelow();
}

void TMLiveTreeBuilder::finishFolder(TMFolderTree& folder, bool abandoned) {
  folder.finishChildList(storage_->arena, storage_->recycler,
                         abandoned ? TMChildOrder::kListing : TMChildOrder::kLargestFirst, sortScratch_);
}

bool TMLiveTreeBuilder::leaveFolder() {
  if (open_.size() <= 1) return false;
  finishFolder(*open_.back(), false);
  open_.pop_back();
  return true;
}

void TMLiveTreeBuilder::finish(bool abandoned) {
  for (; !open_.empty(); open_.pop_back()) finishFolder(*open_.back(), abandoned);
  storage_->recycler.reclaimIfUnread();
}

}  // namespace tilemora
