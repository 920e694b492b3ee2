#include "TMFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
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

int TMFileSystem::openDirectoryAt(int directory, const char* name) const {
  return ::openat(directory, name, kDirectoryFlags | O_NOFOLLOW);
}

long TMFileSystem::readEntries(int directory, char* buffer, size_t capacity) const {
  return ::syscall(SYS_getdents64, directory, buffer, capacity);
}

bool TMFileSystem::seekDirectory(int directory, int64_t offset) const {
  return ::lseek(directory, off_t(offset), SEEK_SET) != off_t(-1);
}

int TMFileSystem::statAt(int directory, const char* name, struct stat* result) const {
  return ::fstatat(directory, name, result, AT_SYMLINK_NOFOLLOW);
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
  std::ifstream file("/proc/self/mountinfo");
  std::stringstream text;
  text << file.rdbuf();
  return TMMountTable::localVolumePaths(text.str());
}

}  // namespace tilemora
