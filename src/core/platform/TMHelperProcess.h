// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program run for its standard output, read through a pipe (the scan as
// administrator: pkexec running the export helper); its standard error is
// this process's. Closing the pipe is how it is told to stop: a program
// running as another user cannot be signalled.

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace tilemora {

class TMHelperProcess {
 public:
  // Starts `arguments[0]` (searched on PATH when it holds no "/") with
  // `arguments`; null, with `error` set, when it cannot be started.
  static std::unique_ptr<TMHelperProcess> start(const std::vector<std::string>& arguments, std::string& error);
  // Closes the pipe if it is still held; the program, if it was not waited
  // for, is reaped when it ends, without waiting here.
  ~TMHelperProcess();
  TMHelperProcess(const TMHelperProcess&) = delete;
  TMHelperProcess& operator=(const TMHelperProcess&) = delete;

  // The pipe's read end, handed over once: its new owner closes it.
  int takeOutput();
  // Waits for the program to end (once its output was read to the end or
  // closed) and answers its status, as waitpid() gives it.
  int wait();

 private:
  TMHelperProcess(pid_t pid, int output) : pid_(pid), output_(output) {}

  pid_t pid_;
  int output_;
  int status_ = 0;
  bool waited_ = false;
};

// What the status of a program that ran (as wait() gives it) says went
// wrong: nothing for an exit status of 0.
std::string describeExitStatus(int status);

}  // namespace tilemora
