// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Watches on folders: the kernel's inotify, one instance per owner. A
// watch reports what happens to the entries of one folder (created,
// removed, written, renamed, its attributes changed), not below it; the
// kernel queues the events until they are read, and drops them all but an
// overflow notice when its queue (max_queued_events) is full. Watches
// count against the user's max_user_watches, shared by every program of
// the user, and each pins its folder's inode in the kernel's memory.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tilemora {

class TMFolderWatch {
 public:
  // What the kernel told of one entry (or of the folder itself, with no
  // name).
  struct Event {
    int watch = -1;     // the watch it came through; -1 with an overflow
    uint32_t mask = 0;  // IN_CREATE, IN_DELETE… (sys/inotify.h)
    std::string name;   // the entry's name, raw bytes; empty for the folder
  };

  // A new, empty instance; error() says why there is none.
  TMFolderWatch();
  ~TMFolderWatch();
  TMFolderWatch(const TMFolderWatch&) = delete;
  TMFolderWatch& operator=(const TMFolderWatch&) = delete;

  // 0, or the errno that kept the instance from being made (EMFILE: the
  // user has max_user_instances of them).
  int error() const { return error_; }

  // Watches the folder at `path` (a final symbolic link is not followed).
  // Answers the watch (the same one for a folder watched already), or
  // -errno: ENOSPC when the user's watches are all taken, ENOTDIR,
  // ENOENT, EACCES.
  int watch(const std::string& path);
  // Ends a watch (a folder removed ends its own).
  void unwatch(int watch);

  // Waits at most `timeout` for events, then reads what is queued into
  // `events` (appended). A wake() ends the wait early. False when reading
  // failed.
  bool read(std::vector<Event>& events, std::chrono::milliseconds timeout);
  // Ends a read() waiting on another thread; any thread.
  void wake();

  // The user's limit on watches, from /proc/sys/fs/inotify (0 when it
  // cannot be read).
  static uint64_t maxUserWatches();
  // What the kernel keeps per watch on a 64-bit system, about: its mark
  // and the inode it pins.
  static constexpr uint64_t kKernelBytesPerWatch = 1024;

 private:
  int descriptor_ = -1;
  int wakeDescriptor_ = -1;  // an eventfd written by wake()
  int error_ = 0;
};

}  // namespace tilemora
