// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ncdu's binary export (version 2.6 on), as this program writes and reads it:
//   the signature "\xbfncduEX1", then blocks, each framed by its type and
//   length (4 bytes, big-endian: the type in the high 4 bits, the length of
//   the whole block in the low 28) before and after its content.
// A data block (type 0) holds its number (4 bytes, big-endian) and one zstd
// frame; decompressed, less than 16 MiB of CBOR maps, one per item. An item
// is named by its reference, block number << 24 | offset in the
// decompressed data. The last block, the index (type 1), holds for every
// block number up to the highest its place, offset << 24 | length (8 bytes,
// big-endian; 0 for a number not used), then the root item's reference.
// A folder's `sub` names its last entry, each entry's `prev` the one before
// it: a folder is read without reading the file around it. A reference may
// be relative, a negative number added to the referring item's own.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tilemora {

inline constexpr std::string_view kBinaryExportSignature{"\xbfncduEX1", 8};

enum class TMBinaryBlockType : uint8_t { kData = 0, kIndex = 1 };
// A block's type and length in its first and last 4 bytes.
inline constexpr uint32_t binaryBlockTypeLen(TMBinaryBlockType type, uint32_t length) {
  return uint32_t(type) << 28 | (length & 0x0fffffffu);
}
// The header, footer, and block number of a data block.
inline constexpr uint32_t kBinaryBlockFrameBytes = 12;
// Decompressed data and whole blocks stay below this many bytes (an offset
// in an item reference, and a length in the index, take 24 bits).
inline constexpr uint32_t kBinaryBlockLimit = 1u << 24;

inline constexpr uint64_t binaryItemReference(uint32_t block, uint32_t offset) {
  return uint64_t(block) << 24 | offset;
}
inline constexpr uint32_t binaryReferenceBlock(uint64_t reference) { return uint32_t(reference >> 24); }
inline constexpr uint32_t binaryReferenceOffset(uint64_t reference) { return uint32_t(reference & 0xffffff); }

// The keys of an item's map.
enum class TMBinaryKey : uint8_t {
  kType = 0, kName, kPrev, kAsize, kDsize, kDev, kReadError, kCumulativeAsize, kCumulativeDsize,
  kSharedAsize, kSharedDsize, kItems, kSub, kIno, kNlink, kUid, kGid, kMode, kMtime,
};

// What an item is; the negative kinds were left out of the scan.
enum class TMBinaryItemType : int8_t {
  kKernelFileSystem = -4, kOtherFileSystem = -3, kExcludedByPattern = -2, kUnreadable = -1,
  kFolder = 0, kFile = 1, kNonRegular = 2, kHardLink = 3,
};

// One item as written or read. Sizes and references left out are empty.
struct TMBinaryItem {
  TMBinaryItemType type = TMBinaryItemType::kFile;
  std::string name;  // raw bytes; the root's is the scanned path
  std::optional<uint64_t> prev;
  std::optional<uint64_t> sub;
  std::optional<uint64_t> asize;
  std::optional<uint64_t> dsize;
  std::optional<uint64_t> dev;
  // A folder: true when it could not be read, false when one below could not.
  std::optional<bool> readError;
  std::optional<uint64_t> cumulativeAsize;
  std::optional<uint64_t> cumulativeDsize;
  std::optional<uint64_t> items;  // a folder: the entries below it, at any depth
  std::optional<uint64_t> ino;
  std::optional<uint64_t> nlink;
  std::optional<uint64_t> mtime;

  bool isFolder() const { return type == TMBinaryItemType::kFolder; }
  bool isExcluded() const { return int8_t(type) < 0; }
};

}  // namespace tilemora
