// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file, or standard input for "-", read as a stdio stream that never
// blocks past a stop: a pipe that stays silent (a remote scan that stalls,
// a FIFO nobody writes) is waited for in poll() beside the stop, and a read
// stopped that way fails with ECANCELED.

#include <cstdio>
#include <memory>
#include <stop_token>
#include <string>

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

 private:
  TMInputFile(int descriptor, std::stop_token stop) : stop_(std::move(stop)), descriptor_(descriptor) {}
  static ssize_t readCookie(void* cookie, char* bytes, size_t size);

  TMStopSignal stop_;
  int descriptor_;  // owned unless standard input
  std::FILE* stream_ = nullptr;
};

}  // namespace tilemora
