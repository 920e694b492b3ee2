// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryScanExport.h"

#include <sys/stat.h>

#include <cstring>

namespace tilemora {

TMBinaryItem TMBinaryScanExport::identified(std::string_view name, const struct stat& info) const {
  TMBinaryItem item;
  item.name = name;
  if (devices_.empty() || devices_.back() != info.st_dev) item.dev = uint64_t(info.st_dev);
  item.ino = uint64_t(info.st_ino);
  return item;
}

void TMBinaryScanExport::folderEntered(std::string_view name, const struct stat& info) {
  TMBinaryItem folder = identified(name, info);
  if (info.st_mtim.tv_sec > 0) folder.mtime = uint64_t(info.st_mtim.tv_sec);
  tree_.enterFolder(name, std::move(folder));
  devices_.push_back(info.st_dev);
}

void TMBinaryScanExport::folderDenied() { tree_.markFolderUnreadable(); }

void TMBinaryScanExport::folderLeft(bool unreadable) {
  if (unreadable) tree_.markFolderUnreadable();
  tree_.leaveFolder();
  if (!devices_.empty()) devices_.pop_back();
}

void TMBinaryScanExport::fileFound(std::string_view name, const struct stat& info) {
  TMBinaryItem file = identified(name, info);
  file.type = !S_ISREG(info.st_mode) ? TMBinaryItemType::kNonRegular
              : info.st_nlink > 1    ? TMBinaryItemType::kHardLink
                                     : TMBinaryItemType::kFile;
  file.asize = uint64_t(info.st_size);
  file.dsize = uint64_t(info.st_blocks) * 512;
  // A time before 1970 is left out, as in the JSON export.
  if (info.st_mtim.tv_sec > 0) file.mtime = uint64_t(info.st_mtim.tv_sec);
  if (info.st_nlink > 1) file.nlink = uint64_t(info.st_nlink);
  tree_.addEntry(std::move(file));
}

void TMBinaryScanExport::mountPointSkipped(std::string_view name, const struct stat& info) {
  TMBinaryItem skipped = identified(name, info);
  skipped.type = TMBinaryItemType::kOtherFileSystem;
  tree_.addEntry(std::move(skipped));
}

void TMBinaryScanExport::entryExcluded(std::string_view name, const char* why) {
  TMBinaryItem excluded;
  excluded.name = name;
  excluded.type = std::strcmp(why, "kernfs") == 0 ? TMBinaryItemType::kKernelFileSystem
                                                   : TMBinaryItemType::kExcludedByPattern;
  tree_.addEntry(std::move(excluded));
}

}  // namespace tilemora
