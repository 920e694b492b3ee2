// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPrivateMount.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tilemora::test {

namespace {

constexpr int kNotPermitted = 77;

}  // namespace

std::optional<uint64_t> withBindMounts(const std::vector<std::pair<std::string, std::string>>& binds,
                                       const std::function<uint64_t()>& work) {
  int results[2];
  if (::pipe(results) != 0) return UINT64_MAX;
  const pid_t child = ::fork();
  if (child < 0) return UINT64_MAX;
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      ::_exit(kNotPermitted);
    for (const auto& [source, target] : binds) {
      const bool mounted = source.empty() ? ::mount("tmpfs", target.c_str(), "tmpfs", 0, "size=1m") == 0
                                          : ::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0;
      if (!mounted) ::_exit(kNotPermitted);
    }
    const uint64_t answer = work();
    ::_exit(::write(results[1], &answer, sizeof answer) == sizeof answer ? 0 : 4);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(results[1]);
  uint64_t answer = UINT64_MAX;
  const bool read = ::read(results[0], &answer, sizeof answer) == ssize_t(sizeof answer);
  ::close(results[0]);
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNotPermitted) return std::nullopt;
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? answer : UINT64_MAX;
}

}  // namespace tilemora::test
