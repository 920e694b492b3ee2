// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file's other size in 4 bytes, relative to its size: the difference
// when it lies within ±1 GiB (bit 31 clear: the slack of a last block, the
// holes of most sparse files), else the other size itself, rounded up, in
// 512-byte units below 512 GiB (bits 31 and 30: 1 and 0), or in 1-MiB
// units (bits 31 and 30 set). Sizes on disk are whole 512-byte blocks, and
// sparse images whole blocks too: what comes back other than it went in is
// a size more than 1 GiB from the other one and no whole block (less than
// 512 bytes more), or no whole MiB beyond 512 GiB.

#include <cstdint>

namespace tilemora {

struct TMOtherSizeCode {
  static constexpr int64_t kMostDifference = int64_t(1) << 30;
  static constexpr uint32_t kBlocks = uint32_t(1) << 31;
  static constexpr uint32_t kMebibytes = kBlocks | (uint32_t(1) << 30);
  static constexpr uint32_t kUnitsMask = (uint32_t(1) << 30) - 1;

  // `other`, told relative to `size`.
  static uint32_t encode(uint64_t other, uint64_t size) {
    const int64_t difference = int64_t(size - other);  // two's complement: exact for any pair
    if (difference >= -kMostDifference && difference < kMostDifference)
      return uint32_t(difference) & ~kBlocks;
    const uint64_t blocks = other / 512 + (other % 512 != 0 ? 1 : 0);
    if (blocks <= kUnitsMask) return kBlocks | uint32_t(blocks);
    const uint64_t mebibytes = (other >> 20) + ((other & ((uint64_t(1) << 20) - 1)) != 0 ? 1 : 0);
    return kMebibytes | uint32_t(mebibytes < kUnitsMask ? mebibytes : kUnitsMask);
  }

  static uint64_t decode(uint32_t code, uint64_t size) {
    if ((code & kBlocks) == 0) {
      // Sign-extended from 31 bits.
      const int64_t difference = int64_t(int32_t(code << 1) >> 1);
      return size - uint64_t(difference);
    }
    if ((code & kMebibytes) == kMebibytes) return uint64_t(code & kUnitsMask) << 20;
    return uint64_t(code & kUnitsMask) * 512;
  }
};

}  // namespace tilemora
