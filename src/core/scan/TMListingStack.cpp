// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMListingStack.h"

#include <algorithm>
#include <cstring>

namespace tilemora {

char* TMListingStack::reserve(size_t bytes) {
  if (capacity_ - top_ < bytes) {
    size_t grown = std::max(capacity_ * 2, top_ + bytes);
    // Not value-initialised: a chunk is overwritten by the read that fills it.
    std::unique_ptr<char[]> moved(new char[grown]);
    if (top_ > 0) std::memcpy(moved.get(), bytes_.get(), top_);
    bytes_ = std::move(moved);
    capacity_ = grown;
  }
  return bytes_.get() + top_;
}

}  // namespace tilemora
