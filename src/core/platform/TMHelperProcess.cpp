// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHelperProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

extern char** environ;

namespace tilemora {

std::unique_ptr<TMHelperProcess> TMHelperProcess::start(const std::vector<std::string>& arguments,
                                                        std::string& error) {
  int ends[2];
  if (arguments.empty() || ::pipe2(ends, O_CLOEXEC) != 0) {
    error = std::strerror(arguments.empty() ? EINVAL : errno);
    return nullptr;
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  // The program writes to a pipe that may close: SIGPIPE ends it, even
  // where this process ignores the signal.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int failure = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  if (failure != 0) {
    ::close(ends[0]);
    error = std::strerror(failure);
    return nullptr;
  }
  return std::unique_ptr<TMHelperProcess>(new TMHelperProcess(pid, ends[0]));
}

TMHelperProcess::~TMHelperProcess() {
  if (output_ >= 0) ::close(output_);
  if (waited_) return;
  // Still running (a password being asked for may keep it a while after
  // its pipe closed): reaped by a thread of its own, not waited for here.
  std::thread([pid = pid_] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

int TMHelperProcess::takeOutput() {
  const int output = output_;
  output_ = -1;
  return output;
}

int TMHelperProcess::wait() {
  if (waited_) return status_;
  while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
  }
  waited_ = true;
  return status_;
}

std::string describeExitStatus(int status) {
  if (WIFSIGNALED(status)) return std::string("ended by the signal ") + strsignal(WTERMSIG(status));
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) return "ended with the status " + std::to_string(WEXITSTATUS(status));
  return {};
}

}  // namespace tilemora
