// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryExportReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "TMCborReader.h"
#include "TMNcduImport.h"

namespace tilemora {

namespace {

// The fewest bytes an item takes: a map's head, the name's key, a name of
// one byte with its head.
constexpr uint64_t kSmallestItem = 4;
// The longest header a zstd frame has.
constexpr size_t kLongestFrameHeader = 18;

uint64_t bigEndian(const char* bytes, int count) {
  uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | uint8_t(bytes[i]);
  return value;
}

// Whether a chain of references runs in a circle, by Brent's method: a
// reference is kept and compared with each one after it, and replaced after
// twice as many steps each time. Takes no memory of the chain.
class CircleFinder {
 public:
  bool comesBackTo(uint64_t reference) {
    if (reference == kept_) return true;
    if (++stepsSinceKept_ == keptFor_) {
      kept_ = reference;
      keptFor_ *= 2;
      stepsSinceKept_ = 0;
    }
    return false;
  }

 private:
  uint64_t kept_ = UINT64_MAX;  // no reference is this large
  uint64_t stepsSinceKept_ = 0;
  uint64_t keptFor_ = 1;
};

std::string hexReference(uint64_t reference) {
  char text[24];
  std::snprintf(text, sizeof text, "#%010llx", static_cast<unsigned long long>(reference));
  return text;
}

}  // namespace

std::unique_ptr<TMBinaryExportReader> TMBinaryExportReader::openDescriptor(int descriptor, uint64_t start,
                                                                           std::string& error) {
  std::unique_ptr<TMBinaryExportReader> reader(new TMBinaryExportReader);
  struct stat info {};
  reader->descriptor_ = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (reader->descriptor_ < 0 || ::fstat(reader->descriptor_, &info) != 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  reader->start_ = start;
  reader->size_ = uint64_t(info.st_size) > start ? uint64_t(info.st_size) - start : 0;
  if (!reader->readIndex(error)) return nullptr;
  return reader;
}

std::unique_ptr<TMBinaryExportReader> TMBinaryExportReader::fromBytes(std::string bytes, std::string& error) {
  std::unique_ptr<TMBinaryExportReader> reader(new TMBinaryExportReader);
  reader->bytes_ = std::make_shared<const std::string>(std::move(bytes));
  reader->size_ = reader->bytes_->size();
  if (!reader->readIndex(error)) return nullptr;
  return reader;
}

std::unique_ptr<TMBinaryExportReader> TMBinaryExportReader::another(std::string& error) const {
  std::unique_ptr<TMBinaryExportReader> reader;
  if (descriptor_ >= 0) {
    reader = openDescriptor(descriptor_, start_, error);
  } else {
    reader.reset(new TMBinaryExportReader);
    reader->bytes_ = bytes_;  // shared, never changed
    reader->size_ = size_;
    if (!reader->readIndex(error)) reader.reset();
  }
  if (reader) reader->limitCache(cacheBlocks_, cacheBytes_);
  return reader;
}

TMBinaryExportReader::~TMBinaryExportReader() {
  if (descriptor_ >= 0) ::close(descriptor_);
  ZSTD_freeDCtx(decompressor_);
}

bool TMBinaryExportReader::readAt(uint64_t offset, size_t count, char* into) const {
  if (offset > size_ || count > size_ - offset) return false;
  if (descriptor_ < 0) {
    std::memcpy(into, bytes_->data() + offset, count);
    return true;
  }
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(descriptor_, into + done, count - done, off_t(start_ + offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += size_t(got);
  }
  return true;
}

bool TMBinaryExportReader::readIndex(std::string& error) {
  char signature[8];
  if (!readAt(0, sizeof signature, signature) ||
      std::string_view(signature, sizeof signature) != kBinaryExportSignature) {
    error = "not a binary export: its signature is missing";
    return false;
  }
  char footer[4];
  const uint64_t typeLen = size_ >= 12 && readAt(size_ - 4, 4, footer) ? bigEndian(footer, 4) : 0;
  const uint64_t length = typeLen & 0x0fffffff;
  if (typeLen >> 28 != uint64_t(TMBinaryBlockType::kIndex) || length < 16 || length % 8 != 0 ||
      length > size_ - 8) {
    error = "the file ends before its index: it was cut short or is not whole";
    return false;
  }
  std::string index(length, '\0');
  const uint64_t indexStart = size_ - length;
  if (!readAt(indexStart, length, index.data()) || bigEndian(index.data(), 4) != typeLen) {
    error = "the index at byte " + std::to_string(indexStart) + " is broken";
    return false;
  }
  const size_t blocks = (length - 16) / 8;
  index_.resize(blocks);
  for (size_t i = 0; i < blocks; ++i) {
    const uint64_t place = bigEndian(index.data() + 4 + 8 * i, 8);
    const uint64_t offset = place >> 24;
    const uint64_t blockLength = place & 0xffffff;
    if (place != 0 && (offset < 8 || blockLength <= kBinaryBlockFrameBytes || offset + blockLength > indexStart)) {
      error = "the index places block " + std::to_string(i) + " outside the file";
      return false;
    }
    index_[i] = place;
  }
  root_ = bigEndian(index.data() + 4 + 8 * blocks, 8);
  if (blocks == 0) {
    error = "the export holds no data block";
    return false;
  }
  decompressor_ = ZSTD_createDCtx();
  if (decompressor_ == nullptr) {
    error = std::strerror(ENOMEM);
    return false;
  }
  return true;
}

std::optional<std::string_view> TMBinaryExportReader::block(uint32_t number, std::string& error) {
  if (!cache_.empty() && cache_.front().number == number)
    return std::string_view(cache_.front().bytes.get(), cache_.front().size);
  if (const auto kept = kept_.find(number); kept != kept_.end()) {
    cache_.splice(cache_.begin(), cache_, kept->second);
    return std::string_view(cache_.front().bytes.get(), cache_.front().size);
  }
  const uint64_t place = number < index_.size() ? index_[number] : 0;
  if (place == 0) {
    error = "no block " + std::to_string(number) + " in the index";
    return std::nullopt;
  }
  const uint64_t offset = place >> 24;
  const uint32_t length = uint32_t(place & 0xffffff);
  const auto where = [&] { return "block " + std::to_string(number) + " at byte " + std::to_string(offset); };
  if (frame_.size() < length) frame_.resize(length);
  char* frame = frame_.data();
  if (!readAt(offset, length, frame)) {
    error = where() + " cannot be read";
    return std::nullopt;
  }
  const uint64_t typeLen = binaryBlockTypeLen(TMBinaryBlockType::kData, length);
  if (bigEndian(frame, 4) != typeLen || bigEndian(frame + length - 4, 4) != typeLen ||
      bigEndian(frame + 4, 4) != number) {
    error = where() + " is not the data block its index names";
    return std::nullopt;
  }
  const char* compressed = frame + 8;
  const size_t compressedSize = length - kBinaryBlockFrameBytes;
  const unsigned long long rawSize = ZSTD_getFrameContentSize(compressed, compressedSize);
  if (rawSize == ZSTD_CONTENTSIZE_ERROR || rawSize == ZSTD_CONTENTSIZE_UNKNOWN || rawSize >= kBinaryBlockLimit) {
    error = where() + " is not compressed data of a known size below 16 MiB";
    return std::nullopt;
  }
  KeptBlock block{number, std::unique_ptr<char[]>(new char[rawSize]), size_t(rawSize)};
  const size_t got = ZSTD_decompressDCtx(decompressor_, block.bytes.get(), block.size, compressed, compressedSize);
  if (ZSTD_isError(got) || got != block.size) {
    error = where() + " does not decompress";
    return std::nullopt;
  }
  while (!cache_.empty() && (cache_.size() >= cacheBlocks_ || cachedBytes_ + block.size > cacheBytes_)) {
    kept_.erase(cache_.back().number);
    cachedBytes_ -= cache_.back().size;
    cache_.pop_back();
  }
  cachedBytes_ += block.size;
  cache_.push_front(std::move(block));
  kept_[number] = cache_.begin();
  return std::string_view(cache_.front().bytes.get(), cache_.front().size);
}

std::optional<TMBinaryItem> TMBinaryExportReader::item(uint64_t reference, std::string& error) {
  const std::optional<std::string_view> data = block(binaryReferenceBlock(reference), error);
  if (!data) return std::nullopt;
  TMBinaryItem item;
  if (!decodeItem(*data, reference, item, error)) return std::nullopt;
  return item;
}

bool TMBinaryExportReader::decodeItem(std::string_view data, uint64_t reference, TMBinaryItem& item,
                                      std::string& error) const {
  using Major = TMCborReader::Major;
  const auto where = [reference] { return "item " + hexReference(reference); };
  const uint32_t offset = binaryReferenceOffset(reference);
  if (offset >= data.size()) {
    error = where() + " lies past the end of its block";
    return false;
  }
  TMCborReader cbor(data, offset);
  const std::optional<TMCborReader::Head> map = cbor.head();
  if (!map || map->major != Major::kMap) {
    error = where() + " is not a map";
    return false;
  }
  bool typed = false;
  bool named = false;
  for (uint64_t pair = 0; map->indefinite || pair < map->argument; ++pair) {
    if (map->indefinite && cbor.takeBreak()) break;
    const std::optional<TMCborReader::Head> key = cbor.head();
    const std::optional<TMCborReader::Head> value = key ? cbor.head() : std::nullopt;
    if (!value) {
      error = where() + " ends before its map does";
      return false;
    }
    const auto wrong = [&](const char* what) {
      error = where() + ": " + what;
      return false;
    };
    if (key->major != Major::kUnsigned || key->argument > uint64_t(TMBinaryKey::kMtime)) {
      // Keys this reader does not know are left to a later version.
      if (!cbor.skip(*key) || !cbor.skip(*value)) return wrong("a key it holds is broken");
      continue;
    }
    const bool isNumber = value->major == Major::kUnsigned;
    const bool isInteger = isNumber || value->major == Major::kNegative;
    switch (TMBinaryKey(key->argument)) {
      case TMBinaryKey::kType: {
        const int64_t type = value->major == Major::kNegative ? -1 - int64_t(std::min<uint64_t>(value->argument, 99))
                                                              : int64_t(std::min<uint64_t>(value->argument, 99));
        if (!isInteger || type < -4 || type > 3) return wrong("its type is none known");
        item.type = TMBinaryItemType(type);
        typed = true;
        break;
      }
      case TMBinaryKey::kName:
        item.name.clear();
        if (!cbor.string(*value, item.name, kLongestName)) return wrong("its name is not a string of at most 4096 bytes");
        named = true;
        break;
      case TMBinaryKey::kPrev:
      case TMBinaryKey::kSub: {
        // A negative reference counts back from this item's own.
        uint64_t target = value->argument;
        if (value->major == Major::kNegative) {
          if (value->argument >= reference) return wrong("it refers to before the file's first item");
          target = reference - value->argument - 1;
        }
        if (!isInteger || target == reference) return wrong("it refers to itself or to no item");
        (key->argument == uint64_t(TMBinaryKey::kPrev) ? item.prev : item.sub) = target;
        break;
      }
      case TMBinaryKey::kReadError:
        if (value->major != Major::kSimple || (value->argument != 20 && value->argument != 21))
          return wrong("its read error is not true or false");
        item.readError = value->argument == 21;
        break;
      default: {
        std::optional<uint64_t>* number = nullptr;
        switch (TMBinaryKey(key->argument)) {
          case TMBinaryKey::kAsize: number = &item.asize; break;
          case TMBinaryKey::kDsize: number = &item.dsize; break;
          case TMBinaryKey::kDev: number = &item.dev; break;
          case TMBinaryKey::kCumulativeAsize: number = &item.cumulativeAsize; break;
          case TMBinaryKey::kCumulativeDsize: number = &item.cumulativeDsize; break;
          case TMBinaryKey::kItems: number = &item.items; break;
          case TMBinaryKey::kIno: number = &item.ino; break;
          case TMBinaryKey::kNlink: number = &item.nlink; break;
          case TMBinaryKey::kMtime: number = &item.mtime; break;
          default: break;  // shared sizes, owner and mode: not kept
        }
        if (number == nullptr) {
          if (!cbor.skip(*value)) return wrong("a value it holds is broken");
        } else if (!isNumber) {
          return wrong("a size, count or date that is not a number");
        } else {
          *number = value->argument;
        }
      }
    }
  }
  if (!typed || !named || item.name.empty()) {
    error = where() + (typed ? " has no name" : " has no type");
    return false;
  }
  return true;
}

std::optional<std::vector<uint64_t>> TMBinaryExportReader::entriesOf(std::optional<uint64_t> last,
                                                                     std::string& error,
                                                                     std::vector<TMBinaryItem>* items) {
  const std::optional<uint64_t> most = mostItems(error);
  if (!most) return std::nullopt;
  std::vector<uint64_t> entries;
  CircleFinder circle;
  for (std::optional<uint64_t> next = last; next;) {
    if (circle.comesBackTo(*next)) {
      error = "the entries of a folder refer back to one another";
      return std::nullopt;
    }
    if (entries.size() >= *most) {
      error = "an item is referred to more than once";
      return std::nullopt;
    }
    entries.push_back(*next);
    std::optional<TMBinaryItem> entry = item(*next, error);
    if (!entry) return std::nullopt;
    next = entry->prev;
    if (items != nullptr) items->push_back(std::move(*entry));
  }
  std::reverse(entries.begin(), entries.end());
  if (items != nullptr) std::reverse(items->begin(), items->end());
  return entries;
}

std::optional<uint64_t> TMBinaryExportReader::mostItems(std::string& error) {
  if (mostItems_) return mostItems_;
  uint64_t bytes = 0;
  for (size_t number = 0; number < index_.size(); ++number) {
    const uint64_t place = index_[number];
    if (place == 0) continue;
    // The frame's header says its decompressed size: the first 18 bytes at most.
    char head[8 + kLongestFrameHeader] = {};
    const size_t count = std::min<size_t>(sizeof head, (place & 0xffffff) - 4);
    if (!readAt(place >> 24, count, head)) {
      error = "block " + std::to_string(number) + " cannot be read";
      return std::nullopt;
    }
    const unsigned long long raw = ZSTD_getFrameContentSize(head + 8, count - 8);
    bytes += raw < kBinaryBlockLimit ? raw : kBinaryBlockLimit;
  }
  mostItems_ = bytes / kSmallestItem + 1;
  return mostItems_;
}

}  // namespace tilemora
