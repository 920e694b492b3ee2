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

#include <cstdio>
#include <memory>
#include <string>

namespace tilemora {

class TMOutputFile {
 public:
  // Answers null and sets `error` when the temporary file cannot be made.
  // The file gets `mode` (by default what the umask leaves of 0666), from
  // the start: a private file is never readable by others, not even while
  // it is written.
  static std::unique_ptr<TMOutputFile> create(const std::string& path, std::string& error, int mode = -1);
  ~TMOutputFile();
  TMOutputFile(const TMOutputFile&) = delete;
  TMOutputFile& operator=(const TMOutputFile&) = delete;

  std::FILE* stream() const { return stream_; }
  // Where the content goes until it is committed (the asked path for "-"
  // and for what is written directly).
  const std::string& temporaryPath() const { return temporaryPath_; }
  const std::string& path() const { return path_; }

  // Flushes and closes the stream and renames the file to the asked name
  // (for standard output: flushes it). Answers false with `error` set when
  // any write failed; the temporary file is then removed.
  bool commit(std::string& error);

 private:
  TMOutputFile(std::string path, std::string temporaryPath, std::FILE* stream, int slot);

  std::string path_;
  std::string temporaryPath_;
  std::FILE* stream_;
  int slot_;  // its place among the files removed on a signal; -1 for none
  bool committed_ = false;
  bool direct_ = false;  // written where it is: not a regular file
};

}  // namespace tilemora
