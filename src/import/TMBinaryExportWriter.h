// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes the blocks of a binary export (see TMBinaryExportFormat) to a
// stream as items are added: each item is encoded into the data block being
// filled, which is compressed and written out once it holds kBlockBytes;
// the index follows the last one. One thread adds items.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "TMBinaryExportFormat.h"

typedef struct ZSTD_CCtx_s ZSTD_CCtx;

namespace tilemora {

class TMBinaryExportWriter {
 public:
  // How much decompressed data a block holds before it is written: small
  // enough that reading one folder's entries decompresses little else.
  static constexpr size_t kBlockBytes = 64 * 1024;

  // Writes the signature to `out`, which stays open and is not flushed.
  explicit TMBinaryExportWriter(std::FILE* out);
  ~TMBinaryExportWriter();
  TMBinaryExportWriter(const TMBinaryExportWriter&) = delete;
  TMBinaryExportWriter& operator=(const TMBinaryExportWriter&) = delete;

  // Adds `item`, answering its reference; its own references may name only
  // items added before it.
  uint64_t add(const TMBinaryItem& item);
  // Writes the last data block and the index naming `root`; answers
  // whether every write reached the stream.
  bool finish(uint64_t root);

 private:
  // Compresses and writes the block being filled, if it holds anything.
  void writeBlock();
  void write(const void* bytes, size_t count);
  // An item's reference to `target`, from the item at `self`: relative
  // when that is shorter (within the same block), else absolute.
  static int64_t referenceFrom(uint64_t self, uint64_t target);

  std::FILE* out_;
  ZSTD_CCtx* compressor_;
  std::string raw_;         // the block being filled, decompressed
  std::string compressed_;  // reused for each block
  std::vector<uint64_t> index_;  // offset << 24 | length, by block number
  uint64_t written_ = 0;         // bytes of the file so far
  bool failed_ = false;
};

}  // namespace tilemora
