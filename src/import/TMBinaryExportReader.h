// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a binary export (see TMBinaryExportFormat) in any order: the index
// at the end is read when opening, a data block only when an item in it is
// asked for, and the last few blocks read are kept decompressed. Nothing
// read is trusted: a block that is cut short, framed wrongly, numbered
// otherwise than its index entry says or not decompressible, and an item
// that is not a well-formed map of known values, each give an error naming
// where, never a crash or a wrong item.
// One thread at a time.

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "TMBinaryExportFormat.h"

typedef struct ZSTD_DCtx_s ZSTD_DCtx;

namespace tilemora {

class TMBinaryExportReader {
 public:
  // How many decompressed blocks are kept (each less than 16 MiB, usually
  // about 64 KiB: 16 MB in all). A folder's entries lie in a few blocks,
  // but reading the largest folders first goes back and forth among many.
  static constexpr size_t kCachedBlocks = 256;
  // ...and at most this many bytes of them: a block may hold up to 16 MiB.
  static constexpr size_t kCachedBytes = 64 << 20;
  // Keeps at most `blocks` blocks and `bytes` of them instead (the block
  // last read is kept whatever its size); another reader keeps the same.
  void limitCache(size_t blocks, size_t bytes) {
    cacheBlocks_ = blocks;
    cacheBytes_ = bytes;
  }

  // The export in the file open as `descriptor` (duplicated: the caller's
  // stays theirs), starting `start` bytes into it.
  static std::unique_ptr<TMBinaryExportReader> openDescriptor(int descriptor, uint64_t start, std::string& error);
  // The export held whole in `bytes` (one read from a pipe).
  static std::unique_ptr<TMBinaryExportReader> fromBytes(std::string bytes, std::string& error);
  ~TMBinaryExportReader();
  TMBinaryExportReader(const TMBinaryExportReader&) = delete;
  // Another reader of the same export, for another thread: this one may be
  // in use meanwhile (only what opening set is read).
  std::unique_ptr<TMBinaryExportReader> another(std::string& error) const;
  TMBinaryExportReader& operator=(const TMBinaryExportReader&) = delete;

  uint64_t root() const { return root_; }

  // The item at `reference`, or nothing with `error` set.
  std::optional<TMBinaryItem> item(uint64_t reference, std::string& error);

  // The entries of the folder whose last entry is `last`, in the order
  // they were written; nothing, with `error` set, when one cannot be read,
  // when they run in a circle, or when there are more than the export can
  // hold.
  // With `items`, the entries themselves are kept there too, in the same
  // order.
  std::optional<std::vector<uint64_t>> entriesOf(std::optional<uint64_t> last, std::string& error,
                                                 std::vector<TMBinaryItem>* items = nullptr);

  // The most items the export can hold: its decompressed bytes over the
  // fewest an item takes. A walk that meets more has met one twice.
  std::optional<uint64_t> mostItems(std::string& error);

 private:
  TMBinaryExportReader() = default;
  bool readIndex(std::string& error);
  bool readAt(uint64_t offset, size_t count, char* into) const;
  // The decompressed data of block `number`, kept among the last read.
  std::optional<std::string_view> block(uint32_t number, std::string& error);
  bool decodeItem(std::string_view data, uint64_t reference, TMBinaryItem& item, std::string& error) const;

  int descriptor_ = -1;
  uint64_t start_ = 0;
  std::shared_ptr<const std::string> bytes_;  // the whole export, when not read from a file
  uint64_t size_ = 0;
  std::vector<uint64_t> index_;  // offset << 24 | length, by block number; 0: none
  uint64_t root_ = 0;
  ZSTD_DCtx* decompressor_ = nullptr;
  // The blocks read last, the latest first, and where each is among them.
  struct KeptBlock {
    uint32_t number;
    std::unique_ptr<char[]> bytes;  // not zeroed first: decompressed into
    size_t size;
  };
  std::list<KeptBlock> cache_;
  size_t cachedBytes_ = 0;
  size_t cacheBlocks_ = kCachedBlocks;
  size_t cacheBytes_ = kCachedBytes;
  std::unordered_map<uint32_t, std::list<KeptBlock>::iterator> kept_;
  std::vector<char> frame_;  // a block as read, reused
  std::optional<uint64_t> mostItems_;
};

}  // namespace tilemora
