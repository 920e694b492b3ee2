// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMInputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tilemora {

std::unique_ptr<TMInputFile> TMInputFile::open(const std::string& path, std::string& error, std::stop_token stop) {
  // Opening a FIFO waits for a writer: not without a stop.
  const int flags = O_RDONLY | O_CLOEXEC | (stop.stop_possible() ? O_NONBLOCK : 0);
  const int descriptor = path == "-" ? STDIN_FILENO : ::open(path.c_str(), flags);
  if (descriptor < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  // Reads wait in poll() instead.
  if (descriptor != STDIN_FILENO && (flags & O_NONBLOCK) != 0)
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return adopt(descriptor, error, std::move(stop));
}

std::unique_ptr<TMInputFile> TMInputFile::adopt(int descriptor, std::string& error, std::stop_token stop) {
  std::unique_ptr<TMInputFile> file(new TMInputFile(descriptor, std::move(stop)));
  struct stat info {};
  if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) file->start_ = ::lseek(descriptor, 0, SEEK_CUR);
  const cookie_io_functions_t functions{readCookie, nullptr, nullptr, nullptr};
  file->stream_ = ::fopencookie(file.get(), "r", functions);
  if (file->stream_ == nullptr) {
    error = std::strerror(errno ? errno : ENOMEM);
    return nullptr;
  }
  return file;
}

std::optional<std::pair<int, uint64_t>> TMInputFile::seekableStart() const {
  if (start_ < 0) return std::nullopt;
  return std::pair(descriptor_, uint64_t(start_));
}

TMInputFile::~TMInputFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (descriptor_ != STDIN_FILENO) ::close(descriptor_);
}

ssize_t TMInputFile::readCookie(void* cookie, char* bytes, size_t size) {
  auto* file = static_cast<TMInputFile*>(cookie);
  // With a stop, read only what is there: poll first, never block in read.
  if (file->stop_.descriptor() >= 0 && !file->stop_.waitFor(file->descriptor_, POLLIN)) return -1;
  for (;;) {
    const ssize_t read = ::read(file->descriptor_, bytes, size);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0 && errno == EAGAIN && file->stop_.waitFor(file->descriptor_, POLLIN)) continue;
    return read;
  }
}

}  // namespace tilemora
