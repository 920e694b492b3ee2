// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPrivateFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tilemora {

namespace {

// Makes `path` and the folders above it that are missing, each 0700; what
// exists is left as it is.
bool makeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    if (::mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// The folder `name` in `parent`, made 0700 when missing and `make` says so;
// -1 unless it is a folder (not a link) of the user's that no one else may
// write to (errno EPERM then).
int ownFolderAt(int parent, const char* name, bool make) {
  if (make && ::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) return -1;
  const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (folder >= 0 && ::fstat(folder, &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0)
    return folder;
  if (folder >= 0) ::close(folder);
  if (errno != ENOENT) errno = EPERM;
  return -1;
}

}  // namespace

std::unique_ptr<TMPrivateFolder> TMPrivateFolder::open(const std::string& base, const std::vector<std::string>& below,
                                                       bool make, std::string& error) {
  std::string path = base;
  for (const std::string& name : below) path += "/" + name;
  if (make && !makeFolders(base)) {
    error = std::strerror(errno);
    return nullptr;
  }
  int folder = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (const std::string& name : below) {
    if (folder < 0) break;
    const int next = ownFolderAt(folder, name.c_str(), make);
    const int error = errno;
    ::close(folder);
    folder = next;
    errno = error;
  }
  if (folder < 0) {
    error = errno == EPERM ? path + " is not the user's alone (a link, another user's, or writable by others)"
                           : std::string(std::strerror(errno));
    return nullptr;
  }
  return std::unique_ptr<TMPrivateFolder>(new TMPrivateFolder(folder, std::move(path)));
}

TMPrivateFolder::~TMPrivateFolder() { ::close(descriptor_); }

std::vector<TMPrivateFolder::File> TMPrivateFolder::regularFiles() const {
  std::vector<File> files;
  DIR* folder = ::fdopendir(::fcntl(descriptor_, F_DUPFD_CLOEXEC, 0));
  if (folder == nullptr) return files;
  while (const dirent* entry = ::readdir(folder)) {
    struct stat info {};
    if (::fstatat(descriptor_, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
    files.push_back({entry->d_name, uint64_t(info.st_size)});
  }
  ::closedir(folder);
  return files;
}

bool TMPrivateFolder::remove(const std::string& name) const { return ::unlinkat(descriptor_, name.c_str(), 0) == 0; }

}  // namespace tilemora
