// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryExportWriter.h"

#include <zstd.h>

#include "TMCborWriter.h"

namespace tilemora {

namespace {

// Fast enough to keep up with a scan; the blocks still shrink to a fifth.
constexpr int kCompressionLevel = 3;

void appendBigEndian(std::string& out, uint64_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out += char(value >> shift);
}

}  // namespace

TMBinaryExportWriter::TMBinaryExportWriter(std::FILE* out) : out_(out), compressor_(ZSTD_createCCtx()) {
  // Each frame carries a checksum of its content: a block damaged on disk
  // is then told, not read as other entries. Readers without one skip it.
  failed_ = compressor_ == nullptr ||
            ZSTD_isError(ZSTD_CCtx_setParameter(compressor_, ZSTD_c_compressionLevel, kCompressionLevel)) ||
            ZSTD_isError(ZSTD_CCtx_setParameter(compressor_, ZSTD_c_checksumFlag, 1));
  raw_.reserve(kBlockBytes + 8 * 1024);
  write(kBinaryExportSignature.data(), kBinaryExportSignature.size());
}

TMBinaryExportWriter::~TMBinaryExportWriter() { ZSTD_freeCCtx(compressor_); }

int64_t TMBinaryExportWriter::referenceFrom(uint64_t self, uint64_t target) {
  if (binaryReferenceBlock(self) == binaryReferenceBlock(target) && target < self) return -int64_t(self - target);
  return int64_t(target);
}

uint64_t TMBinaryExportWriter::add(const TMBinaryItem& item) {
  if (raw_.size() >= kBlockBytes) writeBlock();
  const uint64_t self = binaryItemReference(uint32_t(index_.size()), uint32_t(raw_.size()));
  TMCborWriter cbor(raw_);
  const auto key = [&](TMBinaryKey k) { cbor.unsignedInteger(uint64_t(k)); };
  const std::optional<uint64_t> numbers[][2] = {
      {uint64_t(TMBinaryKey::kAsize), item.asize},
      {uint64_t(TMBinaryKey::kDsize), item.dsize},
      {uint64_t(TMBinaryKey::kDev), item.dev},
      {uint64_t(TMBinaryKey::kCumulativeAsize), item.cumulativeAsize},
      {uint64_t(TMBinaryKey::kCumulativeDsize), item.cumulativeDsize},
      {uint64_t(TMBinaryKey::kItems), item.items},
      {uint64_t(TMBinaryKey::kIno), item.ino},
      {uint64_t(TMBinaryKey::kNlink), item.nlink},
      {uint64_t(TMBinaryKey::kMtime), item.mtime},
  };
  uint64_t pairs = 2 + (item.prev ? 1 : 0) + (item.sub ? 1 : 0) + (item.readError ? 1 : 0);
  for (const auto& number : numbers) pairs += number[1] ? 1 : 0;
  cbor.mapOf(pairs);
  key(TMBinaryKey::kType);
  cbor.integer(int8_t(item.type));
  key(TMBinaryKey::kName);
  cbor.byteString(item.name);
  if (item.prev) {
    key(TMBinaryKey::kPrev);
    cbor.integer(referenceFrom(self, *item.prev));
  }
  if (item.sub) {
    key(TMBinaryKey::kSub);
    cbor.integer(referenceFrom(self, *item.sub));
  }
  if (item.readError) {
    key(TMBinaryKey::kReadError);
    cbor.boolean(*item.readError);
  }
  for (const auto& number : numbers) {
    if (!number[1]) continue;
    cbor.unsignedInteger(*number[0]);
    cbor.unsignedInteger(*number[1]);
  }
  return self;
}

void TMBinaryExportWriter::writeBlock() {
  if (raw_.empty() || failed_) return;
  compressed_.resize(ZSTD_compressBound(raw_.size()));
  const size_t size = ZSTD_compress2(compressor_, compressed_.data(), compressed_.size(), raw_.data(), raw_.size());
  if (ZSTD_isError(size) || size + kBinaryBlockFrameBytes >= kBinaryBlockLimit) {
    failed_ = true;
    return;
  }
  const uint32_t length = uint32_t(size + kBinaryBlockFrameBytes);
  std::string frame;
  appendBigEndian(frame, binaryBlockTypeLen(TMBinaryBlockType::kData, length), 4);
  appendBigEndian(frame, index_.size(), 4);
  index_.push_back(written_ << 24 | length);
  write(frame.data(), frame.size());
  write(compressed_.data(), size);
  write(frame.data(), 4);
  raw_.clear();
}

void TMBinaryExportWriter::write(const void* bytes, size_t count) {
  if (failed_) return;
  failed_ = std::fwrite(bytes, 1, count, out_) != count;
  written_ += count;
}

bool TMBinaryExportWriter::finish(uint64_t root) {
  writeBlock();
  const uint32_t length = uint32_t(8 * index_.size() + 16);
  std::string index;
  appendBigEndian(index, binaryBlockTypeLen(TMBinaryBlockType::kIndex, length), 4);
  for (uint64_t place : index_) appendBigEndian(index, place, 8);
  appendBigEndian(index, root, 8);
  appendBigEndian(index, binaryBlockTypeLen(TMBinaryBlockType::kIndex, length), 4);
  write(index.data(), index.size());
  return !failed_ && std::ferror(out_) == 0;
}

}  // namespace tilemora
