// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMCborReader.h"

namespace tilemora {

std::optional<TMCborReader::Head> TMCborReader::head() {
  if (at_ >= data_.size()) return std::nullopt;
  const uint8_t first = uint8_t(data_[at_++]);
  Head head{Major(first >> 5), first & 0x1fu, false};
  const uint8_t info = first & 0x1f;
  if (info < 24) return head;
  if (info == 31) {
    // Indefinite lengths are for strings, arrays and maps; 0xff alone is a
    // break, which takeBreak reads.
    if (head.major == Major::kUnsigned || head.major == Major::kNegative || head.major == Major::kTag ||
        head.major == Major::kSimple)
      return std::nullopt;
    head.argument = 0;
    head.indefinite = true;
    return head;
  }
  if (info > 27) return std::nullopt;
  const size_t bytes = size_t(1) << (info - 24);
  if (data_.size() - at_ < bytes) return std::nullopt;
  head.argument = 0;
  for (size_t i = 0; i < bytes; ++i) head.argument = head.argument << 8 | uint8_t(data_[at_++]);
  return head;
}

bool TMCborReader::takeBreak() {
  if (at_ < data_.size() && uint8_t(data_[at_]) == 0xff) {
    ++at_;
    return true;
  }
  return false;
}

bool TMCborReader::string(const Head& head, std::string& into, size_t longest) {
  if (head.major != Major::kBytes && head.major != Major::kText) return false;
  if (!head.indefinite) {
    if (head.argument > longest - into.size() || head.argument > data_.size() - at_) return false;
    into.append(data_.substr(at_, size_t(head.argument)));
    at_ += size_t(head.argument);
    return true;
  }
  // Chunks of the same kind, each whole, up to the break.
  while (!takeBreak()) {
    const std::optional<Head> chunk = this->head();
    if (!chunk || chunk->major != head.major || chunk->indefinite || !string(*chunk, into, longest)) return false;
  }
  return true;
}

bool TMCborReader::skip(const Head& head, int depth) {
  if (depth > kDeepestCbor) return false;
  switch (head.major) {
    case Major::kUnsigned:
    case Major::kNegative:
      return true;
    case Major::kSimple:
      // Floats carry their bytes in the argument already.
      return true;
    case Major::kBytes:
    case Major::kText: {
      if (head.indefinite) {
        std::string ignored;
        return string(head, ignored, SIZE_MAX);
      }
      if (head.argument > data_.size() - at_) return false;
      at_ += size_t(head.argument);
      return true;
    }
    case Major::kTag: {
      const std::optional<Head> tagged = this->head();
      return tagged && skip(*tagged, depth + 1);
    }
    case Major::kArray:
    case Major::kMap: {
      const uint64_t perItem = head.major == Major::kMap ? 2 : 1;
      // A count larger than the bytes left ends where they do.
      for (uint64_t i = 0; head.indefinite || i < head.argument; ++i) {
        if (head.indefinite && takeBreak()) return true;
        for (uint64_t part = 0; part < perItem; ++part) {
          const std::optional<Head> inner = this->head();
          if (!inner || !skip(*inner, depth + 1)) return false;
        }
      }
      return true;
    }
  }
  return false;
}

}  // namespace tilemora
