// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file written under a temporary name beside the asked one and renamed
// over it once complete, so that an interrupted or failed run never leaves a
// truncated file under the asked name. "-" stands for standard output; what
// exists and is not a regular file (a pipe, a device) is written directly.
// The temporary file is made when the object is (which checks that the
// asked place is writable before any long work) and removed when the object
// goes without having been committed, or when the process is ended by
// SIGINT, SIGTERM, SIGHUP or SIGPIPE (unless the signal is ignored).
//
// Its stream writes straight to the descriptor and remembers the first
// error a write met, so that what is reported is what the system said (a
// full disk), not whatever a later call left in errno.
//
// Given a stop token, it never blocks past a stop: a pipe or device is
// opened and written without blocking, waiting in poll() for the output or
// the stop (a FIFO nobody reads yet, a reader that stalls), and a write
// stopped that way fails with ECANCELED.

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stop_token>
#include <string>

#include "TMStopSignal.h"

namespace tilemora {

class TMOutputFile {
 public:
  // Answers null and sets `error` when the temporary file cannot be made.
  // The file gets `mode` (by default what the umask leaves of 0666) from
  // the start: a private file is never readable by others, not even while
  // it is written.
  static std::unique_ptr<TMOutputFile> create(const std::string& path, std::string& error, int mode = -1,
                                              std::stop_token stop = {});
  // The same for the file `name` in the open folder `folder`, which
  // `folderPath` names; nothing there is reached through a link.
  static std::unique_ptr<TMOutputFile> createAt(int folder, const std::string& folderPath, const std::string& name,
                                                std::string& error, int mode = -1, std::stop_token stop = {});
  ~TMOutputFile();
  TMOutputFile(const TMOutputFile&) = delete;
  TMOutputFile& operator=(const TMOutputFile&) = delete;

  std::FILE* stream() const { return stream_; }
  // Where the content goes until it is committed (the asked path for "-"
  // and for what is written directly).
  const std::string& temporaryPath() const { return temporaryPath_; }
  const std::string& path() const { return path_; }
  // Bytes the stream has handed to the system so far.
  uint64_t bytesWritten() const { return bytesWritten_; }
  // Why writing failed: the first write error in the system's words (an
  // input/output error when a write failed without one).
  std::string writeError() const;

  // Flushes and closes the stream and renames the file to the asked name
  // (for standard output: flushes it). Answers false with `error` set when
  // any write failed; the temporary file is then removed.
  bool commit(std::string& error);

 private:
  explicit TMOutputFile(std::stop_token stop) : stop_(std::move(stop)) {}
  static ssize_t writeCookie(void* cookie, const char* bytes, size_t size);
  bool openStream(std::string& error);
  // Opens the pipe or device `name` in folder_ for writing.
  int openDirect(const std::string& name);

  TMStopSignal stop_;
  std::string path_;
  std::string temporaryPath_;
  std::string name_;           // the asked name, in folder_
  std::string temporaryName_;  // the temporary one, in folder_
  int folder_ = -1;            // where both are; owned
  int descriptor_ = -1;        // what is written; owned unless standard output
  std::FILE* stream_ = nullptr;
  uint64_t bytesWritten_ = 0;
  int firstError_ = 0;
  int slot_ = -1;  // its place among the files removed on a signal; -1 for none
  bool committed_ = false;
  bool direct_ = false;  // written where it is: not a regular file
};

}  // namespace tilemora
