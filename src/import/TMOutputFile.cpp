// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMOutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace tilemora {

namespace {

// The temporary files not yet committed, for the signal handler, which may
// only read them and call unlink.
constexpr int kSlots = 8;
std::atomic<const char*> pendingPaths[kSlots];

void removePendingAndDie(int signalNumber) {
  for (auto& slot : pendingPaths) {
    if (const char* path = slot.load()) ::unlink(path);
  }
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

int claimSlot(const char* path) {
  static const bool handlersInstalled = [] {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
      struct sigaction action {};
      if (::sigaction(signalNumber, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
      action = {};
      action.sa_handler = removePendingAndDie;
      ::sigaction(signalNumber, &action, nullptr);
    }
    return true;
  }();
  (void)handlersInstalled;
  for (int i = 0; i < kSlots; ++i) {
    const char* none = nullptr;
    if (pendingPaths[i].compare_exchange_strong(none, path)) return i;
  }
  return -1;
}

// The permissions a new file gets from the process's umask.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::unique_ptr<TMOutputFile> TMOutputFile::create(const std::string& path, std::string& error, int mode) {
  if (path == "-") return std::unique_ptr<TMOutputFile>(new TMOutputFile(path, path, stdout, -1));
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) {
    error = "it names a folder";
    return nullptr;
  }
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    error = "it is a folder";
    return nullptr;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    // A pipe (>(gzip > f)), a terminal or /dev/null: written to as it is;
    // a file renamed over it would replace the device or the pipe.
    std::FILE* stream = std::fopen(path.c_str(), "we");
    if (stream == nullptr) {
      error = std::strerror(errno);
      return nullptr;
    }
    auto file = std::unique_ptr<TMOutputFile>(new TMOutputFile(path, path, stream, -1));
    file->direct_ = true;
    return file;
  }
  // Hidden, beside the asked name: the rename stays within one file system.
  std::string temporaryPath = folder + "." + name + ".XXXXXX";
  const int descriptor = ::mkstemp(temporaryPath.data());
  if (descriptor < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  // mkstemp made it 0600.
  if (mode < 0) ::fchmod(descriptor, newFileMode());
  if (mode >= 0 && mode != 0600) ::fchmod(descriptor, mode_t(mode));
  std::FILE* stream = ::fdopen(descriptor, "w");
  if (stream == nullptr) {
    error = std::strerror(errno);
    ::close(descriptor);
    ::unlink(temporaryPath.c_str());
    return nullptr;
  }
  auto file = std::unique_ptr<TMOutputFile>(new TMOutputFile(path, std::move(temporaryPath), stream, -1));
  file->slot_ = claimSlot(file->temporaryPath_.c_str());
  return file;
}

TMOutputFile::TMOutputFile(std::string path, std::string temporaryPath, std::FILE* stream, int slot)
    : path_(std::move(path)), temporaryPath_(std::move(temporaryPath)), stream_(stream), slot_(slot) {}

TMOutputFile::~TMOutputFile() {
  if (stream_ == stdout) return;
  if (stream_ != nullptr) std::fclose(stream_);
  if (!committed_ && !direct_) ::unlink(temporaryPath_.c_str());
  if (slot_ >= 0) pendingPaths[slot_].store(nullptr);
}

bool TMOutputFile::commit(std::string& error) {
  if (stream_ == stdout) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      error = std::strerror(errno);
      return false;
    }
    return true;
  }
  errno = EIO;  // what a failed write that left no errno is reported as
  bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
  if (!written) error = std::strerror(errno);
  if (std::fclose(stream_) != 0 && written) {
    error = std::strerror(errno);
    written = false;
  }
  stream_ = nullptr;
  if (written && !direct_ && ::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error = std::strerror(errno);
    written = false;
  }
  committed_ = written;
  return written;
}

}  // namespace tilemora
