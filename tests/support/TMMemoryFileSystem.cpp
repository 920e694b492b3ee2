// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMemoryFileSystem.h"

#include <dirent.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "core/platform/TMDirectoryRecords.h"

namespace tilemora::test {

namespace {

void fill(const TMMemoryEntry& entry, struct stat* result) {
  std::memset(result, 0, sizeof *result);
  result->st_dev = 1;
  result->st_ino = ino_t(reinterpret_cast<uintptr_t>(&entry));
  result->st_mode = entry.folder ? S_IFDIR | 0755 : S_IFREG | 0644;
  result->st_blocks = blkcnt_t(entry.blocks);
  // A date of its own, from its size: the bigger, the newer.
  if (!entry.folder) result->st_mtim.tv_sec = time_t(1700000000 + 60 * entry.blocks);
}

}  // namespace

TMMemoryEntry::~TMMemoryEntry() {
  // Each entry taken apart has its children moved out first, so that no
  // destructor below runs with children of its own.
  std::vector<TMMemoryEntry> pending = std::move(children);
  while (!pending.empty()) {
    std::vector<TMMemoryEntry> grandchildren = std::move(pending.back().children);
    pending.pop_back();
    for (TMMemoryEntry& entry : grandchildren) pending.push_back(std::move(entry));
  }
}

int TMMemoryFileSystem::open(const TMMemoryEntry* entry) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int descriptor = nextDescriptor_++;
  open_[descriptor] = {entry, 0};
  return descriptor;
}

int TMMemoryFileSystem::openDirectory(const char*) const { return open(&root_); }

const TMMemoryEntry* TMMemoryFileSystem::parentOf(const TMMemoryEntry* folder) const {
  if (parents_.empty()) {
    std::vector<const TMMemoryEntry*> pending{&root_};
    parents_[&root_] = &root_;
    while (!pending.empty()) {
      const TMMemoryEntry* next = pending.back();
      pending.pop_back();
      for (const TMMemoryEntry& child : next->children) {
        if (!child.folder) continue;
        parents_[&child] = next;
        pending.push_back(&child);
      }
    }
  }
  return parents_.at(folder);
}

const TMMemoryEntry* TMMemoryFileSystem::childOf(int directory, const char* name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = open_.find(directory);
  if (found == open_.end()) return nullptr;
  const TMMemoryEntry* folder = found->second.entry;
  if (std::strcmp(name, "..") == 0) return parentOf(folder);
  // Looked up by name, not searched: folders in tests may hold many thousands.
  auto [index, made] = childIndex_.try_emplace(folder);
  if (made) {
    for (const TMMemoryEntry& child : folder->children) index->second.emplace(child.name, &child);
  }
  auto child = index->second.find(name);
  return child == index->second.end() ? nullptr : child->second;
}

int TMMemoryFileSystem::openDirectoryAt(int directory, const char* name) const {
  const TMMemoryEntry* child = childOf(directory, name);
  if (child == nullptr || !child->folder) {
    errno = child ? ENOTDIR : ENOENT;
    return -1;
  }
  return open(child);
}

long TMMemoryFileSystem::readEntries(int directory, char* buffer, size_t capacity) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = open_.find(directory);
  if (found == open_.end()) return -1;
  OpenFolder& folder = found->second;
  size_t used = 0;
  const auto& children = folder.entry->children;
  while (folder.nextChild < children.size()) {
    const TMMemoryEntry& child = children[folder.nextChild];
    const size_t length = appendDirectoryRecord(buffer, capacity, used, child.name, folder.nextChild + 1,
                                                int64_t(folder.nextChild + 1), child.folder ? DT_DIR : DT_REG);
    if (length == 0) break;
    used += length;
    ++folder.nextChild;
  }
  return long(used);
}

bool TMMemoryFileSystem::seekDirectory(int directory, int64_t offset) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = open_.find(directory);
  if (found == open_.end() || offset < 0) return false;
  found->second.nextChild = size_t(offset);
  return true;
}

int TMMemoryFileSystem::statAt(int directory, const char* name, struct stat* result,
                               bool* isMountRoot) const {
  if (isMountRoot != nullptr) *isMountRoot = false;
  const TMMemoryEntry* child = childOf(directory, name);
  if (child == nullptr) {
    errno = ENOENT;
    return -1;
  }
  fill(*child, result);
  return 0;
}

int TMMemoryFileSystem::statOpen(int directory, struct stat* result) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = open_.find(directory);
  if (found == open_.end()) return -1;
  fill(*found->second.entry, result);
  return 0;
}

int TMMemoryFileSystem::statPath(const char*, struct stat* result) const {
  fill(root_, result);
  return 0;
}

void TMMemoryFileSystem::closeDirectory(int directory) const {
  std::lock_guard<std::mutex> lock(mutex_);
  open_.erase(directory);
}

}  // namespace tilemora::test
