// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes the blocks of a binary export (see TMBinaryExportFormat) to a
// stream as items are added: each item is encoded into the data block being
// filled, which is compressed and written out once it holds kBlockBytes;
// the index follows the last one. One thread adds items to a writer; more
// threads write one export each through a writer of its own (`another`).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "TMBinaryExportFile.h"
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

  // A writer of its own blocks into the same export, for another thread.
  std::unique_ptr<TMBinaryExportWriter> another() const;

  // Adds `item`, answering its reference; its own references may name only
  // items already added, by this writer or another of the same export.
  uint64_t add(const TMBinaryItem& item);
  // Compresses and writes the block being filled, if it holds anything.
  void flush();
  // Writes the last data block and the index naming `root`, once every
  // other writer of the export has been flushed; answers whether every
  // write reached the stream.
  bool finish(uint64_t root);

 private:
  explicit TMBinaryExportWriter(std::shared_ptr<TMBinaryExportFile> file);
  // An item's reference to `target`, from the item at `self`: relative
  // when that is shorter (within the same block), else absolute.
  static int64_t referenceFrom(uint64_t self, uint64_t target);

  std::shared_ptr<TMBinaryExportFile> file_;
  ZSTD_CCtx* compressor_;
  uint32_t block_ = 0;      // the number of the block being filled
  std::string raw_;         // the block being filled, decompressed
  std::string compressed_;  // reused for each block
  bool failed_ = false;
};

}  // namespace tilemora
