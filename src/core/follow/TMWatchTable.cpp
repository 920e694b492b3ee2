// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMWatchTable.h"

#include <vector>

namespace tilemora {

namespace {

// A map entry's (its node, the string in it) and a hash entry's
// bookkeeping, besides the path's bytes.
constexpr uint64_t kBytesPerEntry = 64 + 32;

}  // namespace

TMWatchTable::TMWatchTable(TMFolderWatch& watch, std::string rootPath, uint64_t limit)
    : watch_(watch), rootPath_(std::move(rootPath)), limit_(limit) {}

std::string TMWatchTable::absolutePath(const std::string& relative) const {
  if (relative.empty()) return rootPath_;
  return (rootPath_ == "/" ? rootPath_ : rootPath_ + "/") + relative;
}

bool TMWatchTable::watch(const std::string& relative) {
  std::lock_guard lock(mutex_);
  ended_.erase(relative);
  if (watches_.count(relative) != 0) return true;
  if (watches_.size() >= limit_) {
    ++refused_;
    return false;
  }
  const int watch = watch_.watch(absolutePath(relative));
  if (watch < 0) {
    // Gone already, or not a folder any more: nothing to follow. Refused
    // for want of watches: not followed.
    if (watch == -ENOSPC) ++refused_;
    return false;
  }
  // The kernel answers the same watch for a folder reached by two paths
  // (a folder moved while both names were in the tree): the newer wins.
  if (auto old = folders_.find(watch); old != folders_.end()) {
    pathBytes_ -= old->second->size();
    watches_.erase(*old->second);
  }
  folders_[watch] = &watches_.emplace(relative, watch).first->first;
  pathBytes_ += relative.size();
  return true;
}

std::optional<std::string> TMWatchTable::folderOf(int watch) const {
  std::lock_guard lock(mutex_);
  auto found = folders_.find(watch);
  if (found == folders_.end()) return std::nullopt;
  return *found->second;
}

void TMWatchTable::forget(int watch) {
  std::lock_guard lock(mutex_);
  auto found = folders_.find(watch);
  if (found == folders_.end()) return;
  pathBytes_ -= found->second->size();
  ended_.insert(*found->second);
  watches_.erase(*found->second);
  folders_.erase(found);
}

void TMWatchTable::forgetBelow(const std::string& relative) {
  std::lock_guard lock(mutex_);
  auto drop = [&](std::map<std::string, int>::iterator entry) {
    watch_.unwatch(entry->second);
    folders_.erase(entry->second);
    pathBytes_ -= entry->first.size();
    return watches_.erase(entry);
  };
  if (auto self = watches_.find(relative); self != watches_.end()) {
    drop(self);
    ended_.insert(relative);
  }
  // Everything below starts with "a/": one run in path order ("a b" and
  // "a.b", which are not below, sort between "a" and "a/").
  const std::string prefix = relative.empty() ? std::string() : relative + "/";
  for (auto entry = watches_.lower_bound(prefix);
       entry != watches_.end() && entry->first.compare(0, prefix.size(), prefix) == 0;) {
    entry = drop(entry);
  }
}

bool TMWatchTable::takeEnded(const std::string& relative) {
  std::lock_guard lock(mutex_);
  return ended_.erase(relative) != 0;
}

std::vector<std::string> TMWatchTable::watchedFolders() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> folders;
  folders.reserve(watches_.size());
  for (const auto& [folder, watch] : watches_) folders.push_back(folder);
  return folders;
}

uint64_t TMWatchTable::watchedCount() const {
  std::lock_guard lock(mutex_);
  return watches_.size();
}

uint64_t TMWatchTable::unwatchedCount() const {
  std::lock_guard lock(mutex_);
  return refused_;
}

uint64_t TMWatchTable::tableBytes() const {
  std::lock_guard lock(mutex_);
  return pathBytes_ + watches_.size() * kBytesPerEntry;
}

}  // namespace tilemora
