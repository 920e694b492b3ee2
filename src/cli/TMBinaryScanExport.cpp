// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryScanExport.h"

#include <sys/stat.h>

#include <cstring>

namespace tilemora {

// A folder and its device, which its entries are told apart from.
class TMBinaryScanExport::FolderHandedOff : public TMScanObserver::HandOff {
 public:
  FolderHandedOff(std::shared_ptr<TMBinaryTreeWriter::SharedFolder> folder, dev_t device)
      : folder(std::move(folder)), device(device) {}
  std::shared_ptr<TMBinaryTreeWriter::SharedFolder> folder;
  dev_t device;
};

std::unique_ptr<TMScanObserver> TMBinaryScanExport::forAnotherThread() {
  return std::unique_ptr<TMScanObserver>(new TMBinaryScanExport(blocks_->another()));
}

std::shared_ptr<TMScanObserver::HandOff> TMBinaryScanExport::folderHandedOff() {
  const dev_t device = devices_.empty() ? 0 : devices_.back();
  if (!devices_.empty()) devices_.pop_back();
  return std::make_shared<FolderHandedOff>(tree_.handOffFolder(), device);
}

void TMBinaryScanExport::folderTakenOver(const std::shared_ptr<HandOff>& handOff) {
  const auto* folder = dynamic_cast<const FolderHandedOff*>(handOff.get());
  if (folder == nullptr) return;
  tree_.continueFolder(folder->folder);
  devices_.push_back(folder->device);
}

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
