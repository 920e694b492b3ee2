// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file a binary export (see TMBinaryExportFormat) is written to, shared
// by the writers that fill its data blocks, one per thread: each takes a
// block number when it starts a block and hands the block over compressed
// once it is full. Blocks reach the file in the order they are handed over,
// whatever their numbers: the index, written last, says where each one is.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string_view>
#include <vector>

namespace tilemora {

class TMBinaryExportFile {
 public:
  // Writes the signature to `out`, which stays open and is not flushed.
  explicit TMBinaryExportFile(std::FILE* out);
  TMBinaryExportFile(const TMBinaryExportFile&) = delete;
  TMBinaryExportFile& operator=(const TMBinaryExportFile&) = delete;

  // A number no other block has; from any thread.
  uint32_t newBlockNumber() { return nextBlock_.fetch_add(1, std::memory_order_relaxed); }
  // Writes the data block `number`, its zstd frame `compressed`; from any thread.
  void writeBlock(uint32_t number, std::string_view compressed);
  // A block could not be made: the export is not whole.
  void fail();
  // Writes the index naming `root`, once every block has been written;
  // answers whether every write reached the stream.
  bool finish(uint64_t root);

 private:
  void write(const void* bytes, size_t count);  // with mutex_ held

  std::atomic<uint32_t> nextBlock_{0};
  std::mutex mutex_;
  std::FILE* out_;
  std::vector<uint64_t> index_;  // offset << 24 | length, by block number
  uint64_t written_ = 0;         // bytes of the file so far
  bool failed_ = false;
};

}  // namespace tilemora
