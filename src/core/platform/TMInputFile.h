// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file, or standard input for "-", read as a stdio stream that never
// blocks past a stop: a pipe that stays silent (a remote scan that stalls,
// a FIFO nobody writes) is waited for in poll() beside the stop, and a read
// stopped that way fails with ECANCELED.

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>

#include "TMStopSignal.h"

namespace tilemora {

class TMInputFile {
 public:
  // Null, with `error` set, when the file cannot be opened.
  static std::unique_ptr<TMInputFile> open(const std::string& path, std::string& error, std::stop_token stop = {});
  // The same for an open `descriptor` (a pipe's read end), which it owns.
  static std::unique_ptr<TMInputFile> adopt(int descriptor, std::string& error, std::stop_token stop = {});
  ~TMInputFile();
  TMInputFile(const TMInputFile&) = delete;
  TMInputFile& operator=(const TMInputFile&) = delete;

  std::FILE* stream() const { return stream_; }
  // A regular file (not a pipe) can also be read at any place: its
  // descriptor, and where the stream began in it. None for anything else.
  std::optional<std::pair<int, uint64_t>> seekableStart() const;

 private:
  TMInputFile(int descriptor, std::stop_token stop) : stop_(std::move(stop)), descriptor_(descriptor) {}
  static ssize_t readCookie(void* cookie, char* bytes, size_t size);

  TMStopSignal stop_;
  int descriptor_;  // owned unless standard input
  off_t start_ = -1;  // where reading began, for a regular file
  std::FILE* stream_ = nullptr;
};

}  // namespace tilemora
