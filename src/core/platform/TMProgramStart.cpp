// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMProgramStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tilemora {

namespace {

// Where `program` is: itself when it names a path, else the first
// executable of that name on PATH; empty when none is.
std::string programPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > start ? folders.substr(start, end - start) : ".";
    const std::string candidate = folder + "/" + program;
    struct stat info {};
    if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    start = end + 1;
  }
  return {};
}

// Tells the parent why the start failed, and ends the child.
[[noreturn]] void failAndExit(int report) {
  const int error = errno;
  ssize_t written = ::write(report, &error, sizeof error);
  (void)written;
  ::_exit(127);
}

}  // namespace

int startProgramIn(const std::string& program, const std::string& folder) {
  const std::string path = programPath(program);
  if (path.empty()) return ENOENT;
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return errno;
  // Everything the children need is ready before the fork: between fork and
  // exec only async-signal-safe calls are made.
  char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return error;
  }
  if (child == 0) {
    // The program goes on in a grandchild of a session of its own: when
    // this child ends, the program is nobody's child here to be reaped.
    ::close(report[0]);
    if (::setsid() < 0) failAndExit(report[1]);
    const pid_t grandchild = ::fork();
    if (grandchild < 0) failAndExit(report[1]);
    if (grandchild > 0) ::_exit(0);
    if (::chdir(folder.c_str()) != 0) failAndExit(report[1]);
    ::execv(path.c_str(), arguments);
    failAndExit(report[1]);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes without a word once the program runs (exec closes it).
  int error = 0;
  ssize_t read;
  while ((read = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  return read == ssize_t(sizeof error) ? error : 0;
}

}  // namespace tilemora
