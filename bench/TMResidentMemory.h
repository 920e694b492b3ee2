// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory the benchmarks measure: what the process holds in RAM now.

#include <cstdio>

namespace tilemora {

// Resident memory now, in kilobytes (VmRSS).
inline long residentKilobytes() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  char line[256];
  long kilobytes = 0;
  while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr)
    std::sscanf(line, "VmRSS: %ld kB", &kilobytes);
  if (status != nullptr) std::fclose(status);
  return kilobytes;
}

}  // namespace tilemora
