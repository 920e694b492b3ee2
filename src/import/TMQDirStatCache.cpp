// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMQDirStatCache.h"

#include <charconv>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "TMCompressedStream.h"
#include "TMImportTarget.h"

namespace tilemora {

namespace {

// The lines of a text read from a stream whose first bytes were read
// already; a line too long to be one of a cache file ends the reading.
class LineReader {
 public:
  LineReader(std::FILE* input, std::string_view start) : input_(input), start_(start) {}

  // The next line, without its end; false at the end of the text or where
  // the line grows past kLongestCacheLine (then tooLong()).
  bool next(std::string& line) {
    line.clear();
    ++number_;
    for (int c; (c = take()) != EOF;) {
      if (c == '\n') return true;
      if (line.size() == kLongestCacheLine) {
        tooLong_ = true;
        return false;
      }
      line += char(c);
    }
    return !line.empty();
  }
  uint64_t number() const { return number_; }
  bool tooLong() const { return tooLong_; }

 private:
  int take() {
    if (!start_.empty()) {
      const unsigned char c = start_.front();
      start_.remove_prefix(1);
      return c;
    }
    return getc_unlocked(input_);
  }

  std::FILE* input_;
  std::string_view start_;
  uint64_t number_ = 0;
  bool tooLong_ = false;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The fields of `line` with where each begins (0 for the first byte).
struct Field {
  std::string_view text;
  size_t column;
};
std::vector<Field> fieldsOf(std::string_view line) {
  std::vector<Field> fields;
  for (size_t i = 0; i < line.size();) {
    if (isBlank(line[i])) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    fields.push_back({line.substr(start, i - start), start});
  }
  return fields;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  }
  return true;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
  return -1;
}

// The bytes `text` stands for: %XX is the byte XX; a % not followed by two
// hexadecimal digits stands for itself.
std::string decoded(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      bytes += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

std::optional<uint64_t> wholeNumber(std::string_view text, int base = 10) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A size in bytes, or in whole KiB, MiB or GiB with K, M or G after it.
std::optional<uint64_t> sizeOf(std::string_view text) {
  int shift = 0;
  if (!text.empty()) {
    const char unit = char(text.back() | 0x20);
    shift = unit == 'k' ? 10 : unit == 'm' ? 20 : unit == 'g' ? 30 : 0;
    if (shift != 0) text.remove_suffix(1);
  }
  const std::optional<uint64_t> value = wholeNumber(text);
  if (!value || *value > (UINT64_MAX >> shift)) return std::nullopt;
  return *value << shift;
}

// Seconds since 1970: decimal (before 1970 too), or hexadecimal after "0x".
std::optional<int64_t> timeOf(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] | 0x20) == 'x') {
    const std::optional<uint64_t> value = wholeNumber(text.substr(2), 16);
    if (!value || *value > uint64_t(INT64_MAX)) return std::nullopt;
    return int64_t(*value);
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

enum class Kind { kFolder, kFile, kLink, kSpecial };

std::optional<Kind> kindOf(std::string_view type) {
  if (equalsIgnoringCase(type, "D")) return Kind::kFolder;
  if (equalsIgnoringCase(type, "F")) return Kind::kFile;
  if (equalsIgnoringCase(type, "L")) return Kind::kLink;
  for (std::string_view special : {"BlockDev", "CharDev", "FIFO", "Socket"}) {
    if (equalsIgnoringCase(type, special)) return Kind::kSpecial;
  }
  return std::nullopt;
}

// Follows the lines into the target, keeping open the folders from the
// scanned one down to the folder last given.
class CacheReader {
 public:
  explicit CacheReader(TMImportTarget& target) : target_(target) {}

  // Takes one entry's line; an error with the column it concerns, if any.
  std::optional<std::pair<std::string, size_t>> take(std::string_view line) {
    const std::vector<Field> fields = fieldsOf(line);
    if (fields.empty() || fields[0].text[0] == '#') return std::nullopt;
    if (fields.size() < 4) return problem("a line must give a type, a path, a size and a time", fields[0]);
    const std::optional<Kind> kind = kindOf(fields[0].text);
    if (!kind) return problem("\"" + std::string(fields[0].text) + "\" is not a kind of entry", fields[0]);
    const std::string path = decoded(fields[1].text);
    if (path.find('\0') != std::string::npos) return problem("a name cannot hold a NUL character", fields[1]);
    const std::optional<uint64_t> size = sizeOf(fields[2].text);
    if (!size) return problem("\"" + std::string(fields[2].text) + "\" is not a size", fields[2]);
    const std::optional<int64_t> modified = timeOf(fields[3].text);
    if (!modified) return problem("\"" + std::string(fields[3].text) + "\" is not a time", fields[3]);
    std::optional<uint64_t> blocks;
    for (size_t i = 4; i < fields.size(); ++i) {
      const bool isBlocks = equalsIgnoringCase(fields[i].text, "blocks:");
      if (!isBlocks && !equalsIgnoringCase(fields[i].text, "links:")) continue;  // what this reader does not use
      const std::optional<uint64_t> count = i + 1 < fields.size() ? wholeNumber(fields[i + 1].text) : std::nullopt;
      if (!count) return problem("\"" + std::string(fields[i].text) + "\" must be followed by a number", fields[i]);
      if (isBlocks) blocks = count;
      ++i;
    }
    const bool absolute = path.starts_with('/');
    if (!target_.hasRoot()) {
      if (*kind != Kind::kFolder || !absolute)
        return problem("the first entry must be the scanned folder, given by its full path", fields[0]);
      target_.beginRoot(path);
      return std::nullopt;
    }
    if (*kind == Kind::kFolder && !absolute) return problem("a folder must be given by its full path", fields[1]);
    std::string name = path;
    if (absolute) {
      std::vector<std::string> below = TMImportTarget::pathComponents(path);
      const std::vector<std::string>& root = target_.scan.rootComponents;
      if (below.size() < root.size() || !std::equal(root.begin(), root.end(), below.begin()) ||
          (*kind != Kind::kFolder && below.size() == root.size()))
        return problem("\"" + path + "\" is not inside the scanned folder", fields[1]);
      below.erase(below.begin(), below.begin() + std::ptrdiff_t(root.size()));
      if (*kind != Kind::kFolder) {
        name = std::move(below.back());
        below.pop_back();
      }
      if (auto error = openFolders(below, path)) return problem(*error, fields[1]);
      if (*kind == Kind::kFolder) return std::nullopt;
    }
    if (!TMImportTarget::isEntryName(name))
      return problem("\"" + name + "\" cannot be the name of an entry", fields[1]);
    if (*kind == Kind::kLink) return std::nullopt;  // a scan leaves them out too
    std::optional<uint64_t> onDisk;
    if (blocks) {
      if (*blocks > UINT64_MAX / 512) return problem("the sizes add up to more than 2^64 bytes", fields[2]);
      onDisk = *blocks * 512;
    }
    if (auto error = target_.addFile(name, onDisk, *size, *modified)) return problem(*error, fields[2]);
    return std::nullopt;
  }

  // Leaves every folder still open, the scanned one last.
  void end() {
    for (; !open_.empty(); open_.pop_back()) target_.leaveFolder();
    target_.leaveFolder();
  }

 private:
  static std::optional<std::pair<std::string, size_t>> problem(std::string message, const Field& field) {
    return std::pair{std::move(message), field.column + 1};
  }

  // Leaves the open folders that are not on the way to `path` (below the
  // scanned folder; `given` is the line's own path) and enters those of it
  // not yet open. A folder left cannot be entered again: the tree is built
  // folder by folder, and a second folder of the same name would be wrong.
  std::optional<std::string> openFolders(const std::vector<std::string>& path, const std::string& given) {
    size_t common = 0;
    while (common < open_.size() && common < path.size() && open_[common] == path[common]) ++common;
    for (; open_.size() > common; open_.pop_back()) {
      target_.leaveFolder();
      leftFolders_.insert(hashOfOpenPath());
    }
    for (size_t i = common; i < path.size(); ++i) {
      if (!TMImportTarget::isEntryName(path[i])) return "\"" + path[i] + "\" cannot be the name of a folder";
      open_.push_back(path[i]);
      if (leftFolders_.count(hashOfOpenPath()) != 0)
        return "\"" + given +
               "\" lies in a folder given before other folders: only a cache file that gives each folder's "
               "entries together can be read";
      target_.enterFolder(path[i]);
    }
    return std::nullopt;
  }

  // The open folders' path, hashed: the folders left are remembered so, in
  // 8 bytes each, whatever their paths' length.
  uint64_t hashOfOpenPath() const {
    std::string path;
    for (const std::string& name : open_) (path += '/') += name;
    return std::hash<std::string>{}(path);
  }

  TMImportTarget& target_;
  std::vector<std::string> open_;  // below the scanned folder
  std::unordered_set<uint64_t> leftFolders_;
};

bool isHeader(std::string_view line) {
  while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
  return startsQDirStatCache(line) && line.ends_with(" cache file]");
}

}  // namespace

bool startsQDirStatCache(std::string_view start) {
  return start.starts_with("[qdirstat ") || start.starts_with("[kdirstat ");
}

std::optional<TMImportError> readQDirStatCache(std::FILE* input, std::string_view start, TMImportTarget& target,
                                               const std::stop_token& stop) {
  LineReader lines(input, start);
  std::string line;
  if (!lines.next(line) || !isHeader(line))
    return TMImportError{1, 1, "a cache file must begin with \"[qdirstat 1.0 cache file]\"", {}};
  CacheReader reader(target);
  try {
    while (lines.next(line)) {
      if (auto error = reader.take(line)) return TMImportError{lines.number(), error->second, error->first, {}};
      if (lines.number() % 4096 == 0 && stop.stop_requested()) return TMImportError{lines.number(), 1, "stopped", {}};
    }
  } catch (const std::bad_alloc&) {
    return TMImportError{lines.number(), 1, TMImportTarget::kTooLarge, {}};
  }
  if (lines.tooLong())
    return TMImportError{lines.number(), kLongestCacheLine + 1,
                         "a line of more than " + std::to_string(kLongestCacheLine) + " bytes", {}};
  if (std::ferror(input)) return TMImportError{lines.number(), 1, decompressingFailure(), {}};
  if (stop.stop_requested()) return TMImportError{lines.number(), 1, "stopped", {}};
  if (!target.hasRoot()) return TMImportError{lines.number(), 1, "the cache file lists no folder", {}};
  reader.end();
  return std::nullopt;
}

}  // namespace tilemora
