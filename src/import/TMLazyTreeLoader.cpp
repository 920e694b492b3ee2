// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLazyTreeLoader.h"

#include <cerrno>
#include <climits>

#include "TMBinaryExportReader.h"
#include "TMImportTarget.h"
#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMFolderTree.h"
#include "core/scan/TMProgressNotifiable.h"

namespace tilemora {

TMLazyTreeLoader::TMLazyTreeLoader(std::unique_ptr<TMBinaryExportReader> reader)
    : reader_(std::move(reader)), storage_(std::make_shared<TMFileTreeStorage>()) {}

TMLazyTreeLoader::~TMLazyTreeLoader() = default;

std::shared_ptr<TMFileTree> TMLazyTreeLoader::root() const {
  return storage_->root != nullptr ? std::shared_ptr<TMFileTree>(storage_, storage_->root) : nullptr;
}

std::unique_ptr<TMBinaryExportReader> TMLazyTreeLoader::anotherReader(std::string& error) const {
  return reader_->another(error);
}

void TMLazyTreeLoader::markFolder(TMFolderTree& folder, const TMBinaryItem& item) {
  // Entries not read yet make it cut short, until they are, even when it
  // could not be read whole where it was scanned: that is told once read.
  if (item.sub) folder.markCutShort();
  else if (item.readError == true) folder.markUnreadable(EIO);
  if (item.readError == true) ++scan_.unreadableFolders;
  if (item.readError == false) folder.markUnreadableBelow();
}

std::optional<std::string> TMLazyTreeLoader::begin() {
  std::string error;
  const std::optional<TMBinaryItem> root = reader_->item(reader_->root(), error);
  if (!root) return "the root: " + error;
  if (!root->isFolder()) return std::string("the scanned path must be a folder");
  scan_.rootComponents = TMImportTarget::pathComponents(root->name);
  auto* folder = TMFileTree::create<TMFolderTree>(storage_->arena, scan_.rootComponents.back());
  folder->setMeasuredSize(root->cumulativeDsize.value_or(0));
  markFolder(*folder, *root);
  storage_->root = folder;
  foldersMet_.insert(reader_->root());
  if (root->sub) {
    unreadReferences_.emplace(folder, reader_->root());
    unread_.push({folder->diskSize(), reader_->root(), folder, queued_++});
  }
  return std::nullopt;
}

std::optional<std::string> TMLazyTreeLoader::readFolder(TMFolderTree* folder, TMProgressNotifiable* progress,
                                                        std::initializer_list<Queue*> queues) {
  const auto unread = unreadReferences_.find(folder);
  if (unread == unreadReferences_.end()) return std::nullopt;
  const uint64_t reference = unread->second;
  std::string error;
  const std::optional<TMBinaryItem> self = reader_->item(reference, error);
  std::vector<TMBinaryItem> items;
  std::optional<std::vector<uint64_t>> entries = self ? reader_->entriesOf(self->sub, error, &items) : std::nullopt;
  if (!entries) return error;
  std::vector<TMFileTree*> children;
  children.reserve(entries->size());
  uint64_t total = 0;
  for (size_t i = 0; i < entries->size(); ++i) {
    const uint64_t entryReference = (*entries)[i];
    const TMBinaryItem* entry = &items[i];
    if (!TMImportTarget::isEntryName(entry->name)) return "\"" + entry->name + "\" cannot be the name of an entry";
    TMFileTree* child = nullptr;
    if (entry->isFolder()) {
      if (!foldersMet_.insert(entryReference).second) return std::string("a folder is referred to twice");
      auto* sub = TMFileTree::create<TMFolderTree>(storage_->arena, entry->name);
      sub->setMeasuredSize(entry->cumulativeDsize.value_or(0));
      markFolder(*sub, *entry);
      if (entry->sub) {
        unreadReferences_.emplace(sub, entryReference);
        for (Queue* queue : queues) queue->push({sub->diskSize(), entryReference, sub, queued_});
        ++queued_;
      }
      ++scan_.folders;
      child = sub;
    } else if (entry->isExcluded() && entry->type != TMBinaryItemType::kUnreadable) {
      ++scan_.excludedEntries;
    } else {
      if (!entry->dsize) ++scan_.filesWithoutAllocatedSize;
      if (!entry->asize) ++scan_.filesWithoutLength;
      const uint64_t onDisk = entry->dsize.value_or(entry->asize.value_or(0));
      child = TMFileTree::create<TMFileTree>(storage_->arena, entry->name, onDisk);
      child->setAlternateSize(entry->asize.value_or(onDisk));
      if (entry->mtime) child->setModifiedTime(int64_t(std::min<uint64_t>(*entry->mtime, INT64_MAX)));
      ++scan_.files;
    }
    if (child == nullptr) continue;
    if (__builtin_add_overflow(total, child->diskSize(), &total))
      return std::string("the sizes add up to more than 2^64 bytes");
    children.push_back(child);
    if (progress != nullptr) progress->notifyFileScanned();
  }
  unreadReferences_.erase(unread);
  folder->clearCutShort();
  if (self->readError == true) folder->markUnreadable(EIO);
  // Published whole, sorted largest first; the folder's size becomes its
  // entries' sum, which the export's own sum is unless it is broken.
  folder->setFinishedChildren(storage_->arena, children);
  return std::nullopt;
}

std::optional<std::string> TMLazyTreeLoader::readFrom(Queue& queue, uint64_t most, const std::stop_token& stop,
                                                      TMProgressNotifiable* progress) {
  while (!queue.empty() && heldEntries() < most && !stop.stop_requested()) {
    TMFolderTree* folder = queue.top().folder;
    queue.pop();
    if (auto error = readFolder(folder, progress, {&queue})) return error;
  }
  return std::nullopt;
}

std::optional<std::string> TMLazyTreeLoader::readLargest(uint64_t most, const std::stop_token& stop,
                                                         TMProgressNotifiable* progress) {
  const std::lock_guard lock(reading_);
  return readFrom(unread_, most, stop, progress);
}

std::optional<std::string> TMLazyTreeLoader::readAlong(const std::vector<std::string>& below) {
  const std::lock_guard lock(reading_);
  TMFolderTree* folder = storage_->root != nullptr ? storage_->root->asFolder() : nullptr;
  for (size_t level = 0; folder != nullptr; ++level) {
    if (auto error = readFolder(folder, nullptr, {&unread_})) return error;
    if (level == below.size()) break;
    const TMChildList* children = folder->children();
    TMFolderTree* next = nullptr;
    for (uint32_t i = 0; children != nullptr && i < children->count() && next == nullptr; ++i) {
      TMFileTree* child = children->at(i);
      if (child->asFolder() != nullptr && child->filename() == below[level]) next = child->asFolder();
    }
    folder = next;
  }
  return std::nullopt;
}

TMLazyTreeLoader::Held TMLazyTreeLoader::held() const {
  const std::lock_guard lock(reading_);
  return {scan_.files, scan_.folders, unreadReferences_.size()};
}

std::optional<std::string> TMLazyTreeLoader::readWithin(const TMFolderTree& folder, uint64_t most,
                                                        const std::stop_token& stop) {
  const std::lock_guard lock(reading_);
  auto* own = const_cast<TMFolderTree*>(&folder);
  Queue below;
  if (auto error = readFolder(own, nullptr, {&below, &unread_})) return error;
  // The folders below it go to the whole tree's queue too (passed over
  // there once read).
  const uint64_t limit = heldEntries() > UINT64_MAX - most ? UINT64_MAX : heldEntries() + most;
  while (!below.empty() && heldEntries() < limit && !stop.stop_requested()) {
    TMFolderTree* next = below.top().folder;
    below.pop();
    if (auto error = readFolder(next, nullptr, {&below, &unread_})) return error;
  }
  return std::nullopt;
}

}  // namespace tilemora
