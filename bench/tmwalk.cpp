// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for scan speed: the least a one-thread scan must do. It
// lists every folder with getdents64, examines every entry with fstatat,
// sums the allocated sizes, skips symbolic links and other devices, and
// keeps nothing.
//
//   tmwalk ROOT
//
// Prints the total in bytes and the number of entries.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/platform/TMDirectoryRecords.h"

namespace {

struct Totals {
  uint64_t bytes = 0;
  uint64_t entries = 0;
};

void walk(int directory, dev_t device, Totals& totals) {
  std::vector<char> buffer(32 * 1024);
  for (;;) {
    const long bytes = syscall(SYS_getdents64, directory, buffer.data(), buffer.size());
    if (bytes <= 0) break;
    tilemora::forEachDirectoryRecord(buffer.data(), bytes, [&](const tilemora::TMDirectoryRecord& entry) {
      const char* name = entry.d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return;
      if (entry.d_type == DT_LNK) return;
      struct stat info;
      if (fstatat(directory, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return;
      if (info.st_dev != device || S_ISLNK(info.st_mode)) return;
      ++totals.entries;
      if (S_ISDIR(info.st_mode)) {
        const int sub = openat(directory, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub >= 0) {
          walk(sub, device, totals);
          close(sub);
        }
      } else {
        totals.bytes += uint64_t(info.st_blocks) * 512;
      }
    });
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tmwalk ROOT\n");
    return 2;
  }
  const int root = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat info;
  if (root < 0 || fstat(root, &info) != 0) {
    std::fprintf(stderr, "tmwalk: %s: %s\n", argv[1], std::strerror(errno));
    return 1;
  }
  Totals totals;
  walk(root, info.st_dev, totals);
  std::printf("%" PRIu64 " bytes in %" PRIu64 " entries\n", totals.bytes, totals.entries);
  return 0;
}
