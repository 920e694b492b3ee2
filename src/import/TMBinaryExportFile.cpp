// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryExportFile.h"

#include <string>

#include "TMBinaryExportFormat.h"

namespace tilemora {

namespace {

void appendBigEndian(std::string& out, uint64_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out += char(value >> shift);
}

}  // namespace

TMBinaryExportFile::TMBinaryExportFile(std::FILE* out) : out_(out) {
  write(kBinaryExportSignature.data(), kBinaryExportSignature.size());
}

void TMBinaryExportFile::writeBlock(uint32_t number, std::string_view compressed) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (compressed.size() + kBinaryBlockFrameBytes >= kBinaryBlockLimit) {
    failed_ = true;
    return;
  }
  const uint32_t length = uint32_t(compressed.size() + kBinaryBlockFrameBytes);
  std::string frame;
  appendBigEndian(frame, binaryBlockTypeLen(TMBinaryBlockType::kData, length), 4);
  appendBigEndian(frame, number, 4);
  if (index_.size() <= number) index_.resize(size_t(number) + 1, 0);
  index_[number] = written_ << 24 | length;
  write(frame.data(), frame.size());
  write(compressed.data(), compressed.size());
  write(frame.data(), 4);
}

void TMBinaryExportFile::fail() {
  std::lock_guard<std::mutex> lock(mutex_);
  failed_ = true;
}

void TMBinaryExportFile::write(const void* bytes, size_t count) {
  if (failed_) return;
  failed_ = std::fwrite(bytes, 1, count, out_) != count;
  written_ += count;
}

bool TMBinaryExportFile::finish(uint64_t root) {
  std::lock_guard<std::mutex> lock(mutex_);
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
