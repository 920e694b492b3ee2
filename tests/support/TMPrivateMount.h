// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs work with bind mounts in place, in a child process with a mount
// namespace of its own, so that nothing outside the test sees the mounts.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tilemora::test {

// Bind-mounts each pair's first path onto its second (an empty first path:
// a new tmpfs of 1 MiB, another file system), runs `work` and answers what it
// answered; nothing when mounting is not permitted here (it needs
// CAP_SYS_ADMIN). A child that fails otherwise answers UINT64_MAX.
std::optional<uint64_t> withBindMounts(const std::vector<std::pair<std::string, std::string>>& binds,
                                       const std::function<uint64_t()>& work);

}  // namespace tilemora::test
