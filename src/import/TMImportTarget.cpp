// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMImportTarget.h"

namespace tilemora {

std::vector<std::string> TMImportTarget::pathComponents(std::string_view path) {
  std::vector<std::string> components{"/"};
  while (!path.empty()) {
    const size_t slash = path.find('/');
    const std::string_view component = path.substr(0, slash);
    if (!component.empty() && component != ".") components.emplace_back(component);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return components;
}

bool TMImportTarget::isEntryName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

void TMImportTarget::beginRoot(std::string_view path) {
  scan.rootComponents = pathComponents(path);
  if (rootName_) {
    builder_->enterFolder(rootName_(scan.hostname, scan.rootComponents));
    rootEntered_ = true;
  } else if (makeRoot_) {
    builder_ = &makeRoot_(scan);
  } else {
    builder_ = &ownBuilder_.emplace(scan.rootComponents.back());
  }
}

void TMImportTarget::enterFolder(std::string_view name) {
  builder_->enterFolder(name);
  ++scan.folders;
}

void TMImportTarget::leaveFolder() { builder_->leaveFolder(); }

void TMImportTarget::markFolderUnreadable() {
  ++scan.unreadableFolders;
  builder_->markFolderUnreadable();
}

std::optional<std::string> TMImportTarget::addFile(std::string_view name, std::optional<uint64_t> size,
                                                   std::optional<uint64_t> length, int64_t modified) {
  if (!size) ++scan.filesWithoutAllocatedSize;
  if (!length) ++scan.filesWithoutLength;
  const uint64_t onDisk = size.value_or(length.value_or(0));
  const uint64_t bytes = length.value_or(onDisk);
  if (__builtin_add_overflow(total_, onDisk, &total_) || __builtin_add_overflow(lengths_, bytes, &lengths_))
    return "the sizes add up to more than 2^64 bytes";
  builder_->addFileWithLength(name, onDisk, bytes, modified);
  ++scan.files;
  return std::nullopt;
}

TMImportedScan TMImportTarget::finish() {
  if (ownBuilder_) scan.root = ownBuilder_->finish();
  return std::move(scan);
}

}  // namespace tilemora
