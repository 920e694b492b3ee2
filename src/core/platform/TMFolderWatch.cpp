// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace tilemora {

namespace {

// Everything that changes what a folder's entries hold or which entries it
// has; IN_MODIFY is a file written (grown or truncated), IN_ATTRIB a
// truncate() that only some file systems report as a write.
constexpr uint32_t kWatchedEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM |
                                    IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                    IN_DONT_FOLLOW | IN_EXCL_UNLINK;

constexpr int kReadsPerCall = 16;

}  // namespace

TMFolderWatch::TMFolderWatch() {
  descriptor_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (descriptor_ < 0) {
    error_ = errno;
    return;
  }
  wakeDescriptor_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeDescriptor_ < 0) {
    error_ = errno;
    ::close(descriptor_);
    descriptor_ = -1;
  }
}

TMFolderWatch::~TMFolderWatch() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (wakeDescriptor_ >= 0) ::close(wakeDescriptor_);
}

int TMFolderWatch::watch(const std::string& path) {
  if (descriptor_ < 0) return -EBADF;
  const int watch = ::inotify_add_watch(descriptor_, path.c_str(), kWatchedEvents);
  return watch >= 0 ? watch : -errno;
}

void TMFolderWatch::unwatch(int watch) {
  if (descriptor_ >= 0) ::inotify_rm_watch(descriptor_, watch);
}

bool TMFolderWatch::read(std::vector<Event>& events, std::chrono::milliseconds timeout) {
  if (descriptor_ < 0) return false;
  pollfd waits[2] = {{descriptor_, POLLIN, 0}, {wakeDescriptor_, POLLIN, 0}};
  const int ready = ::poll(waits, 2, int(timeout.count()));
  if (ready < 0) return errno == EINTR;
  if (waits[1].revents != 0) {
    uint64_t count = 0;
    if (::read(wakeDescriptor_, &count, sizeof count) < 0) count = 0;  // drained either way
  }
  // Big enough for many events at once; each is at most a header and a
  // name of NAME_MAX bytes.
  alignas(inotify_event) char buffer[64 * 1024];
  // A bounded number of reads: a writer faster than the reader must not
  // keep it here for ever.
  for (int reads = 0; reads < kReadsPerCall; ++reads) {
    const ssize_t bytes = ::read(descriptor_, buffer, sizeof buffer);
    if (bytes < 0) return errno == EAGAIN || errno == EINTR;
    if (bytes == 0) return true;
    for (ssize_t offset = 0; offset < bytes;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      Event told;
      told.watch = event->wd;
      told.mask = event->mask;
      // The name is padded with NULs to an aligned length.
      if (event->len > 0) told.name.assign(event->name, ::strnlen(event->name, event->len));
      events.push_back(std::move(told));
      offset += ssize_t(sizeof(inotify_event) + event->len);
    }
  }
  return true;
}

void TMFolderWatch::wake() {
  const uint64_t one = 1;
  // A full counter (never, in practice) is a wake still pending: enough.
  if (wakeDescriptor_ >= 0 && ::write(wakeDescriptor_, &one, sizeof one) < 0) return;
}

uint64_t TMFolderWatch::maxUserWatches() {
  std::ifstream limit("/proc/sys/fs/inotify/max_user_watches");
  uint64_t watches = 0;
  return limit >> watches ? watches : 0;
}

}  // namespace tilemora
