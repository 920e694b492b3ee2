// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileTreeBuilder.h"

#include "TMFileTreeStorage.h"
#include "TMFolderTree.h"

namespace tilemora {

TMFileTreeBuilder::TMFileTreeBuilder(std::string_view rootName)
    : storage_(std::make_shared<TMFileTreeStorage>()) {
  auto* root = TMFileTree::create<TMFolderTree>(storage_->arena, rootName);
  storage_->root = root;
  levels_.push_back({root, {}});
}

TMFileTreeBuilder::~TMFileTreeBuilder() = default;

void TMFileTreeBuilder::enterFolder(std::string_view name) {
  auto* folder = TMFileTree::create<TMFolderTree>(storage_->arena, name);
  levels_.back().children.push_back(folder);
  levels_.push_back({folder, {}});
}

void TMFileTreeBuilder::addFile(std::string_view name, uint64_t size, int64_t modified) {
  addFileWithLength(name, size, size, modified);
}

void TMFileTreeBuilder::addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified) {
  TMFileTree* file = TMFileTree::create<TMFileTree>(storage_->arena, name, size);
  file->setAlternateSize(length);
  if (modified != 0) file->setModifiedTime(modified);
  levels_.back().children.push_back(file);
}

void TMFileTreeBuilder::markFolderUnreadable() {
  // Why is not said in a saved scan.
  levels_.back().folder->markUnreadable(EIO);
  for (size_t i = 0; i + 1 < levels_.size(); ++i) levels_[i].folder->markUnreadableBelow();
}

void TMFileTreeBuilder::close(Level& level) {
  level.folder->setFinishedChildren(storage_->arena, level.children);
}

bool TMFileTreeBuilder::leaveFolder() {
  if (levels_.size() <= 1) return false;
  close(levels_.back());
  levels_.pop_back();
  return true;
}

std::shared_ptr<TMFileTree> TMFileTreeBuilder::finish() {
  while (leaveFolder()) {
  }
  if (levels_.empty()) return nullptr;
  close(levels_.back());
  levels_.clear();
  return std::shared_ptr<TMFileTree>(storage_, storage_->root);
}

std::shared_ptr<TMFileTree> TMFileTreeBuilder::finish(std::string_view rootName) {
  while (leaveFolder()) {
  }
  if (levels_.empty()) return nullptr;
  const TMFolderTree* made = levels_.back().folder;
  auto* root = TMFileTree::create<TMFolderTree>(storage_->arena, rootName);
  if (made->readError() != 0) root->markUnreadable(made->readError());
  if (made->holdsUnreadable()) root->markUnreadableBelow();
  levels_.back().folder = root;
  storage_->root = root;
  return finish();
}

}  // namespace tilemora
