// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMOutputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/random.h>
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

// Six letters or digits for a temporary name.
std::string randomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char bytes[6] = {};
  if (::getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes)) {
    const auto seed = uint64_t(::getpid()) * 2654435761u ^ uint64_t(reinterpret_cast<uintptr_t>(&bytes));
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = (unsigned char)(seed >> (8 * i));
  }
  std::string suffix;
  for (unsigned char byte : bytes) suffix += kLetters[byte % (sizeof kLetters - 1)];
  return suffix;
}

constexpr int kMostTemporaryNameTries = 100;
constexpr int kReaderPollMilliseconds = 50;

}  // namespace

std::unique_ptr<TMOutputFile> TMOutputFile::create(const std::string& path, std::string& error, int mode,
                                                   std::stop_token stop) {
  if (path == "-") {
    std::unique_ptr<TMOutputFile> file(new TMOutputFile(stop));
    file->path_ = file->temporaryPath_ = path;
    file->descriptor_ = STDOUT_FILENO;
    file->direct_ = true;
    if (!file->openStream(error)) return nullptr;
    return file;
  }
  const size_t slash = path.rfind('/');
  const std::string folderPath = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  struct stat existing {};
  const bool exists = !name.empty() && ::fstatat(folder, name.c_str(), &existing, 0) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    ::close(folder);
    error = "it is a folder";
    return nullptr;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    // A pipe (>(gzip > f)), a terminal or /dev/null: written to as it is;
    // a file renamed over it would replace the device or the pipe.
    std::unique_ptr<TMOutputFile> file(new TMOutputFile(stop));
    file->path_ = file->temporaryPath_ = path;
    file->folder_ = folder;
    file->direct_ = true;
    file->descriptor_ = file->openDirect(name);
    if (file->descriptor_ < 0) {
      error = std::strerror(errno);
      return nullptr;
    }
    if (!file->openStream(error)) return nullptr;
    return file;
  }
  std::unique_ptr<TMOutputFile> file =
      createAt(folder, slash == std::string::npos ? "" : folderPath, name, error, mode, std::move(stop));
  ::close(folder);
  return file;
}

std::unique_ptr<TMOutputFile> TMOutputFile::createAt(int folder, const std::string& folderPath,
                                                     const std::string& name, std::string& error, int mode,
                                                     std::stop_token stop) {
  if (name.empty()) {
    error = "it names a folder";
    return nullptr;
  }
  struct stat existing {};
  if (::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(existing.st_mode)) {
    error = "it is a folder";
    return nullptr;
  }
  std::unique_ptr<TMOutputFile> file(new TMOutputFile(std::move(stop)));
  file->folder_ = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
  if (file->folder_ < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  file->name_ = name;
  const std::string prefix = folderPath.empty() ? std::string() : folderPath == "/" ? "/" : folderPath + "/";
  file->path_ = prefix + name;
  // Hidden, beside the asked name: the rename stays within one file system.
  // The mode is given to open, and the umask applies as to any new file.
  for (int attempt = 0; attempt < kMostTemporaryNameTries && file->descriptor_ < 0; ++attempt) {
    file->temporaryName_ = "." + name + "." + randomSuffix();
    file->descriptor_ = ::openat(file->folder_, file->temporaryName_.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode < 0 ? 0666 : mode_t(mode));
    if (file->descriptor_ < 0 && errno != EEXIST) break;
  }
  if (file->descriptor_ < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  file->temporaryPath_ = prefix + file->temporaryName_;
  file->slot_ = claimSlot(file->temporaryPath_.c_str());
  if (!file->openStream(error)) return nullptr;
  return file;
}

int TMOutputFile::openDirect(const std::string& name) {
  if (stop_.descriptor() < 0) return ::openat(folder_, name.c_str(), O_WRONLY | O_CLOEXEC);
  // A FIFO refuses a writer without blocking until someone reads it: ask
  // again now and then, until then or a stop.
  for (;;) {
    const int descriptor = ::openat(folder_, name.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0 || errno != ENXIO) return descriptor;
    if (!stop_.waitFor(-1, 0, kReaderPollMilliseconds) && errno != ETIMEDOUT) return -1;
  }
}

bool TMOutputFile::openStream(std::string& error) {
  const cookie_io_functions_t functions{nullptr, writeCookie, nullptr, nullptr};
  stream_ = ::fopencookie(this, "w", functions);
  if (stream_ == nullptr) {
    error = std::strerror(errno ? errno : ENOMEM);
    return false;
  }
  return true;
}

ssize_t TMOutputFile::writeCookie(void* cookie, const char* bytes, size_t size) {
  auto* file = static_cast<TMOutputFile*>(cookie);
  size_t written = 0;
  while (written < size) {
    const ssize_t done = ::write(file->descriptor_, bytes + written, size - written);
    if (done < 0 && errno == EINTR) continue;
    // An output opened without blocking: wait until it takes more, or a stop.
    if (done < 0 && errno == EAGAIN && file->stop_.waitFor(file->descriptor_, POLLOUT)) continue;
    if (done <= 0) {
      if (file->firstError_ == 0) file->firstError_ = done < 0 ? errno : ENOSPC;
      break;
    }
    written += size_t(done);
  }
  file->bytesWritten_ += written;
  // stdio takes 0 for a failure; what part got through is counted above.
  return written == size ? ssize_t(written) : 0;
}

std::string TMOutputFile::writeError() const { return std::strerror(firstError_ != 0 ? firstError_ : EIO); }

TMOutputFile::~TMOutputFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (descriptor_ >= 0 && descriptor_ != STDOUT_FILENO) ::close(descriptor_);
  if (!committed_ && !direct_ && !temporaryName_.empty()) ::unlinkat(folder_, temporaryName_.c_str(), 0);
  if (folder_ >= 0) ::close(folder_);
  if (slot_ >= 0) pendingPaths[slot_].store(nullptr);
}

bool TMOutputFile::commit(std::string& error) {
  const bool flushed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (firstError_ == 0 && !flushed) firstError_ = EIO;
  if (descriptor_ != STDOUT_FILENO && descriptor_ >= 0) {
    if (::close(descriptor_) != 0 && firstError_ == 0) firstError_ = errno;
    descriptor_ = -1;
  }
  if (firstError_ == 0 && !direct_ &&
      ::renameat(folder_, temporaryName_.c_str(), folder_, name_.c_str()) != 0)
    firstError_ = errno;
  if (firstError_ != 0) {
    error = std::strerror(firstError_);
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace tilemora
