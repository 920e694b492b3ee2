// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTemporaryTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace tilemora::test {

namespace {

void check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

const char* TMTemporaryTree::fastestBase() {
  return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : nullptr;
}

TMTemporaryTree::TMTemporaryTree(const char* base) {
  if (base == nullptr) base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tilemora-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  check(::mkdtemp(buffer.data()) != nullptr, "mkdtemp");
  root_ = buffer.data();
}

TMTemporaryTree::~TMTemporaryTree() {
  size_t slash = root_.rfind('/');
  int parent = ::open(root_.substr(0, slash == 0 ? 1 : slash).c_str(), O_RDONLY | O_DIRECTORY);
  if (parent >= 0) {
    removeRecursively(parent, root_.c_str() + slash + 1);
    ::close(parent);
  }
}

std::string TMTemporaryTree::pathOf(std::string_view relative) const {
  return root_ + "/" + std::string(relative);
}

void TMTemporaryTree::makeFolder(std::string_view relative) const {
  std::string path = root_;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t slash = relative.find('/', start);
    if (slash == std::string_view::npos) slash = relative.size();
    path += "/" + std::string(relative.substr(start, slash - start));
    check(::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST, "mkdir " + path);
    start = slash + 1;
  }
}

uint64_t TMTemporaryTree::makeFile(std::string_view relative, uint64_t bytes) const {
  std::string path = pathOf(relative);
  int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  check(file >= 0, "create " + path);
  if (bytes > 0) {
    std::vector<char> data(std::min<uint64_t>(bytes, 64 * 1024), 'x');
    for (uint64_t left = bytes; left > 0;) {
      ssize_t written = ::write(file, data.data(), std::min<uint64_t>(left, data.size()));
      check(written > 0, "write " + path);
      left -= uint64_t(written);
    }
    ::fsync(file);  // so that delayed allocation has settled st_blocks (an empty file has none)
  }
  ::close(file);
  return allocatedSize(relative);
}

void TMTemporaryTree::makeSymlink(std::string_view relative, std::string_view target) const {
  check(::symlink(std::string(target).c_str(), pathOf(relative).c_str()) == 0, "symlink");
}

void TMTemporaryTree::makeFifo(std::string_view relative) const {
  check(::mkfifo(pathOf(relative).c_str(), 0644) == 0, "mkfifo");
}

void TMTemporaryTree::makeSocket(std::string_view relative) const {
  // Bind relative to the folder: socket paths are limited to 107 bytes.
  std::string path = pathOf(relative);
  size_t slash = path.rfind('/');
  int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  check(socketFd >= 0, "socket");
  char previous[4096];
  check(::getcwd(previous, sizeof previous) != nullptr, "getcwd");
  check(::chdir(path.substr(0, slash).c_str()) == 0, "chdir");
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str() + slash + 1, sizeof address.sun_path - 1);
  int bound = ::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int savedErrno = errno;
  check(::chdir(previous) == 0, "chdir back");
  ::close(socketFd);
  errno = savedErrno;
  check(bound == 0, "bind");
}

uint64_t TMTemporaryTree::allocatedSize(std::string_view relative) const {
  struct stat info {};
  check(::lstat(pathOf(relative).c_str(), &info) == 0, "lstat");
  return uint64_t(info.st_blocks) * 512;
}

namespace {

// Unlinks everything in `directory` that is not a folder; answers the name
// of a folder left in it, or nothing when it is empty now.
std::optional<std::string> clearFilesAndFindFolder(int directory) {
  DIR* listing = ::fdopendir(::dup(directory));
  if (listing == nullptr) return std::nullopt;
  std::optional<std::string> folder;
  while (dirent* entry = ::readdir(listing)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    if (::unlinkat(directory, entry->d_name, 0) != 0 && !folder) folder = entry->d_name;
  }
  ::closedir(listing);
  return folder;
}

}  // namespace

void TMTemporaryTree::removeRecursively(int parentDirectory, const char* name) {
  if (::unlinkat(parentDirectory, name, 0) == 0) return;
  // Depth first without recursion and with two folders open at most, so
  // that trees of any depth go.
  std::vector<std::string> path{name};
  // Made enterable and writable, if it was not; what fails shows below.
  if (::fchmodat(parentDirectory, name, 0700, 0) != 0) {}
  int directory = ::openat(parentDirectory, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  while (directory >= 0) {
    if (std::optional<std::string> folder = clearFilesAndFindFolder(directory)) {
      if (::fchmodat(directory, folder->c_str(), 0700, 0) != 0) {}
      int below = ::openat(directory, folder->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
      if (below >= 0) {
        ::close(directory);
        directory = below;
        path.push_back(*folder);
        continue;
      }
    }
    // Empty now, or holding what cannot be removed: leave it for the one above.
    int above = path.size() == 1 ? ::dup(parentDirectory) : ::openat(directory, "..", O_RDONLY | O_DIRECTORY);
    ::close(directory);
    bool removed = ::unlinkat(above, path.back().c_str(), AT_REMOVEDIR) == 0;
    path.pop_back();
    if (path.empty() || !removed) {
      ::close(above);
      break;
    }
    directory = above;
  }
}

size_t TMTemporaryTree::entryCount(const std::string& path) {
  size_t count = 0;
  if (DIR* folder = ::opendir(path.c_str())) {
    while (const dirent* entry = ::readdir(folder)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") ++count;
    }
    ::closedir(folder);
  }
  return count;
}

}  // namespace tilemora::test
