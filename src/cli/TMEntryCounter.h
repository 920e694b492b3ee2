// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A progress receiver that only counts: the scan threads add, the main
// thread reads whenever it redraws its progress line.

#include <atomic>
#include <cstdint>

#include "core/scan/TMProgressNotifiable.h"

namespace tilemora {

class TMEntryCounter : public TMProgressNotifiable {
 public:
  void notifyFileScanned() override { count_.fetch_add(1, std::memory_order_relaxed); }
  void notifyFilesScanned(uint32_t count) override { count_.fetch_add(count, std::memory_order_relaxed); }
  uint64_t count() const { return count_.load(std::memory_order_relaxed); }

 private:
  std::atomic<uint64_t> count_{0};
};

}  // namespace tilemora
