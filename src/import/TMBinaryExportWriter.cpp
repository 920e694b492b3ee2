// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryExportWriter.h"

#include <zstd.h>

#include "TMCborWriter.h"

namespace tilemora {

namespace {

// Fast enough to keep up with a scan; the blocks still shrink to a fifth.
constexpr int kCompressionLevel = 3;

}  // namespace

TMBinaryExportWriter::TMBinaryExportWriter(std::FILE* out)
    : TMBinaryExportWriter(std::make_shared<TMBinaryExportFile>(out)) {}

TMBinaryExportWriter::TMBinaryExportWriter(std::shared_ptr<TMBinaryExportFile> file)
    : file_(std::move(file)), compressor_(ZSTD_createCCtx()) {
  // Each frame carries a checksum of its content: a block damaged on disk
  // is then told, not read as other entries. Readers without one skip it.
  failed_ = compressor_ == nullptr ||
            ZSTD_isError(ZSTD_CCtx_setParameter(compressor_, ZSTD_c_compressionLevel, kCompressionLevel)) ||
            ZSTD_isError(ZSTD_CCtx_setParameter(compressor_, ZSTD_c_checksumFlag, 1));
  if (failed_) file_->fail();
  raw_.reserve(kBlockBytes + 8 * 1024);
}

TMBinaryExportWriter::~TMBinaryExportWriter() { ZSTD_freeCCtx(compressor_); }

std::unique_ptr<TMBinaryExportWriter> TMBinaryExportWriter::another() const {
  return std::unique_ptr<TMBinaryExportWriter>(new TMBinaryExportWriter(file_));
}

int64_t TMBinaryExportWriter::referenceFrom(uint64_t self, uint64_t target) {
  if (binaryReferenceBlock(self) == binaryReferenceBlock(target) && target < self) return -int64_t(self - target);
  return int64_t(target);
}

uint64_t TMBinaryExportWriter::add(const TMBinaryItem& item) {
  if (raw_.size() >= kBlockBytes) flush();
  if (raw_.empty()) block_ = file_->newBlockNumber();
  const uint64_t self = binaryItemReference(block_, uint32_t(raw_.size()));
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

void TMBinaryExportWriter::flush() {
  if (raw_.empty()) return;
  if (failed_) {
    // Nothing more reaches the file: the block is not kept either.
    raw_.clear();
    return;
  }
  compressed_.resize(ZSTD_compressBound(raw_.size()));
  const size_t size = ZSTD_compress2(compressor_, compressed_.data(), compressed_.size(), raw_.data(), raw_.size());
  if (ZSTD_isError(size)) {
    failed_ = true;
    file_->fail();
    return;
  }
  file_->writeBlock(block_, std::string_view(compressed_.data(), size));
  raw_.clear();
}

bool TMBinaryExportWriter::finish(uint64_t root) {
  flush();
  return file_->finish(root) && !failed_;
}

}  // namespace tilemora
