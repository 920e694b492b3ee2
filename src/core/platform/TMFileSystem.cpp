// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "TMMountTable.h"

namespace tilemora {

namespace {
constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY;
}

std::shared_ptr<TMFileSystem> TMFileSystem::posix() {
  static const std::shared_ptr<TMFileSystem> instance = std::make_shared<TMFileSystem>();
  return instance;
}

int TMFileSystem::openDirectory(const char* path) const {
  return ::open(path, kDirectoryFlags);
}

TMFileURL TMFileSystem::resolvedPath(const TMFileURL& url) const {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(url.path().c_str(), nullptr), &std::free);
  return resolved ? TMFileURL::fromPath(resolved.get()) : url;
}

int TMFileSystem::openDirectoryAt(int directory, const char* name) const {
  return ::openat(directory, name, kDirectoryFlags | O_NOFOLLOW);
}

long TMFileSystem::readEntries(int directory, char* buffer, size_t capacity) const {
  return ::syscall(SYS_getdents64, directory, buffer, capacity);
}

bool TMFileSystem::seekDirectory(int directory, int64_t offset) const {
  return ::lseek(directory, off_t(offset), SEEK_SET) != off_t(-1);
}

int TMFileSystem::statAt(int directory, const char* name, struct stat* result,
                         bool* isMountRoot) const {
  if (isMountRoot == nullptr) return ::fstatat(directory, name, result, AT_SYMLINK_NOFOLLOW);
  // statx answers the same as fstatat, for the same cost, and also whether
  // the entry is where something is mounted: a bind mount of the same file
  // system has the same device number as its parent.
  struct statx extended {};
  if (::statx(directory, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &extended) != 0) {
    if (errno != ENOSYS) return -1;
    *isMountRoot = false;
    return ::fstatat(directory, name, result, AT_SYMLINK_NOFOLLOW);
  }
  // Field by field: zeroing the whole record first would cost more than
  // the copy, once per entry.
  result->st_dev = makedev(extended.stx_dev_major, extended.stx_dev_minor);
  result->st_ino = extended.stx_ino;
  result->st_mode = extended.stx_mode;
  result->st_nlink = extended.stx_nlink;
  result->st_uid = extended.stx_uid;
  result->st_gid = extended.stx_gid;
  result->st_rdev = makedev(extended.stx_rdev_major, extended.stx_rdev_minor);
  result->st_size = off_t(extended.stx_size);
  result->st_blksize = blksize_t(extended.stx_blksize);
  result->st_blocks = blkcnt_t(extended.stx_blocks);
  result->st_atim = {extended.stx_atime.tv_sec, extended.stx_atime.tv_nsec};
  result->st_mtim = {extended.stx_mtime.tv_sec, extended.stx_mtime.tv_nsec};
  result->st_ctim = {extended.stx_ctime.tv_sec, extended.stx_ctime.tv_nsec};
  *isMountRoot = (extended.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
                 (extended.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
  return 0;
}

int TMFileSystem::statOpen(int directory, struct stat* result) const {
  return ::fstat(directory, result);
}

int TMFileSystem::statPath(const char* path, struct stat* result) const {
  return ::stat(path, result);
}

void TMFileSystem::closeDirectory(int directory) const { ::close(directory); }

TMFileSystemSizes TMFileSystem::fileSystemSizes(const char* path) const {
  struct statvfs info {};
  if (::statvfs(path, &info) != 0) return {};
  // Free blocks include those reserved for root, so that total minus free is
  // the used size `df` shows; reserved blocks would otherwise count as unscanned.
  return {uint64_t(info.f_blocks) * info.f_frsize, uint64_t(info.f_bfree) * info.f_frsize};
}

std::vector<std::string> TMFileSystem::mountedLocalVolumePaths() const {
  return TMMountTable::localVolumePaths(mountTable());
}

std::string TMFileSystem::mountTable() const {
  std::ifstream file("/proc/self/mountinfo");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

long TMFileSystem::readFileStartAt(int directory, const char* name, char* buffer, size_t capacity) const {
  const int file = ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (file < 0) return -1;
  const ssize_t bytes = ::read(file, buffer, capacity);
  const int error = errno;
  ::close(file);
  errno = error;
  return long(bytes);
}

}  // namespace tilemora
