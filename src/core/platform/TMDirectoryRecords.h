// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The records getdents64 fills a buffer with (struct linux_dirent64),
// spelled out in one place: read by the scan and by the benchmark's walker,
// written by the file systems that tests and benchmarks make up.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tilemora {

struct TMDirectoryRecord {
  uint64_t d_ino;
  int64_t d_off;           // where reading resumes after this record
  unsigned short d_reclen;  // this record's length, padding included
  unsigned char d_type;     // DT_DIR, DT_REG, DT_LNK… or DT_UNKNOWN
  char d_name[1];           // NUL-terminated, as long as it is
};

// The record starting at `at`, inside a buffer getdents64 filled.
inline const TMDirectoryRecord& directoryRecordAt(const char* at) {
  return *reinterpret_cast<const TMDirectoryRecord*>(at);
}

// Calls `visit` with each record of the `bytes` bytes at `chunk`.
template <class Visit>
void forEachDirectoryRecord(const char* chunk, long bytes, Visit&& visit) {
  for (long offset = 0; offset < bytes;) {
    const TMDirectoryRecord& record = directoryRecordAt(chunk + offset);
    offset += record.d_reclen;
    visit(record);
  }
}

// Writes a record as getdents64 would at `buffer + used`, if it fits in
// `capacity`; answers its length (8-byte aligned), or 0 when it does not fit.
inline size_t appendDirectoryRecord(char* buffer, size_t capacity, size_t used, std::string_view name,
                                    uint64_t inode, int64_t resumeOffset, unsigned char type) {
  const size_t length = (offsetof(TMDirectoryRecord, d_name) + name.size() + 1 + 7) & ~size_t(7);
  if (used + length > capacity) return 0;
  auto* record = reinterpret_cast<TMDirectoryRecord*>(buffer + used);
  record->d_ino = inode;
  record->d_off = resumeOffset;
  record->d_reclen = static_cast<unsigned short>(length);
  record->d_type = type;
  std::memcpy(record->d_name, name.data(), name.size());
  record->d_name[name.size()] = '\0';
  return length;
}

}  // namespace tilemora
