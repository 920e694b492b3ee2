// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMDeletionPathCheck.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tilemora {

namespace {

std::string changedText(const TMFileURL& folder) {
  return folder.path() + " has changed on disk since the scan; rescan first";
}

}  // namespace

std::optional<std::string> reasonPathChanged(const TMFileSystem& fileSystem, const TMFileURL& root,
                                             const TMFileURL& item) {
  const std::vector<std::string> rootParts = root.pathComponents();
  const std::vector<std::string> parts = item.pathComponents();
  if (parts.size() < rootParts.size() || !std::equal(rootParts.begin(), rootParts.end(), parts.begin()))
    return item.path() + " is not inside the scanned folder";
  int folder = fileSystem.openDirectory(root.path().c_str());
  if (folder < 0) return errno == ENOENT || errno == ENOTDIR ? changedText(root) : root.path() + ": " + std::strerror(errno);
  TMFileURL reached = root;
  std::optional<std::string> reason;
  // The item's own folder is the last one opened: the item itself may be a
  // link, which the trash takes as the link.
  for (size_t i = rootParts.size(); i + 1 < parts.size(); ++i) {
    reached.append(parts[i]);
    const int next = fileSystem.openDirectoryAt(folder, parts[i].c_str());
    const int error = errno;
    fileSystem.closeDirectory(folder);
    folder = next;
    if (folder < 0) {
      // ELOOP: a symbolic link now; ENOTDIR: no folder any more.
      reason = error == ELOOP || error == ENOTDIR || error == ENOENT ? changedText(reached)
                                                                    : reached.path() + ": " + std::strerror(error);
      break;
    }
  }
  if (folder >= 0) fileSystem.closeDirectory(folder);
  return reason;
}

}  // namespace tilemora
