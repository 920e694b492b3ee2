// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMNcduImport.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "TMCompressedStream.h"
#include "TMBinaryExportFormat.h"
#include "TMBinaryExportImport.h"
#include "TMImportTarget.h"
#include "TMQDirStatCache.h"
#include "core/filetree/TMFileTreeBuilder.h"
#include "core/platform/TMHeapTrim.h"
#include "core/platform/TMInputFile.h"
#include "core/platform/TMReadAvailable.h"

namespace tilemora {

std::string TMImportError::text() const {
  if (line == 0) return message;
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
}

namespace {

// A read stream that knows the line and column of what it has read, tells
// a NUL byte in the file from its end (RapidJSON sees both as '\0'), and
// ends the text where a string grows past its limit: RapidJSON buffers a
// whole string before handing it over, so a small compressed file could
// otherwise fill the memory with one.
class CountingStream {
 public:
  using Ch = char;
  // Reads `input`, whose first bytes `start` were read already.
  CountingStream(std::FILE* input, std::string_view start, const std::stop_token& stop)
      : input_(input), stop_(stop) {
    std::memcpy(buffer_, start.data(), start.size());
    end_ = start.size() +
           (stop_.stop_requested() ? 0 : readAvailable(input_, buffer_ + start.size(), sizeof buffer_ - start.size()));
  }
  Ch Peek() const { return position_ < end_ ? buffer_[position_] : '\0'; }
  Ch Take() {
    if (position_ >= end_) return '\0';
    const Ch c = buffer_[position_++];
    ++taken_;
    if (c == '\n') {
      ++line_;
      column_ = 0;
    } else {
      ++column_;
    }
    countString(c);
    if (position_ == end_ && !tooLong_) fill();
    return c;
  }
  // The string after the next one (a key's value) may hold at most `bytes`
  // bytes as RapidJSON writes it out; any other string at most kLongestString.
  void limitNextString(size_t bytes) { nextLimit_ = bytes; }
  // Whether reading stopped at a string past its limit, and that limit.
  bool stoppedAtLongString() const { return tooLong_; }
  size_t stringLimit() const { return limit_; }
  size_t Tell() const { return taken_; }
  // Not used for reading.
  Ch* PutBegin() { return nullptr; }
  void Put(Ch) {}
  void Flush() {}
  size_t PutEnd(Ch*) { return 0; }

  uint64_t line() const { return line_; }
  uint64_t column() const { return column_ + 1; }
  // Whether reading stopped at a NUL byte of the file rather than its end.
  bool stoppedAtNul() const { return position_ < end_ && buffer_[position_] == '\0'; }
  bool atEnd() const { return position_ >= end_; }

 private:
  void fill() {
    position_ = 0;
    // What has arrived: a pipe's writer may be slow, and its text is shown as it comes.
    end_ = stop_.stop_requested() ? 0 : readAvailable(input_, buffer_, sizeof buffer_);
  }
  // Follows the text's strings and counts the bytes each decodes to, as
  // RapidJSON writes them: a \uXXXX escape as its UTF-8 (a surrogate pair
  // 4 bytes, a lone low surrogate 3), any other character as 1.
  void countString(Ch c) {
    if (!inString_) {
      if (c != '"') return;
      inString_ = true;
      stringBytes_ = 0;
      limit_ = std::exchange(nextLimit_, kLongestString);
      return;
    }
    if (hexDigitsLeft_ > 0) {
      const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
      escaped_ = escaped_ * 16 + unsigned(digit & 15);
      if (--hexDigitsLeft_ == 0) stringBytes_ += utf8Bytes(escaped_);
    } else if (afterBackslash_) {
      afterBackslash_ = false;
      if (c == 'u') {
        hexDigitsLeft_ = 4;
        escaped_ = 0;
      } else {
        ++stringBytes_;
      }
    } else if (c == '\\') {
      afterBackslash_ = true;
    } else if (c == '"') {
      inString_ = false;
    } else {
      ++stringBytes_;
    }
    if (stringBytes_ > limit_) {
      tooLong_ = true;
      end_ = position_;  // nothing more is read
    }
  }

  std::FILE* input_;
  const std::stop_token& stop_;
  char buffer_[1 << 16];
  size_t position_ = 0;
  size_t end_ = 0;
  size_t taken_ = 0;
  uint64_t line_ = 1;
  uint64_t column_ = 0;
  static size_t utf8Bytes(unsigned codeUnit) {
    if (codeUnit < 0x80) return 1;
    if (codeUnit < 0x800) return 2;
    if (codeUnit >= 0xD800 && codeUnit <= 0xDBFF) return 1;  // with its low half, 4
    return 3;
  }

  bool inString_ = false;
  unsigned escaped_ = 0;
  bool afterBackslash_ = false;
  int hexDigitsLeft_ = 0;
  size_t stringBytes_ = 0;
  size_t limit_ = kLongestString;
  size_t nextLimit_ = kLongestString;
  bool tooLong_ = false;
};

// RapidJSON's allocator, but a failure throws std::bad_alloc (RapidJSON
// itself would go on with a null pointer); the reading turns it into an
// error.
struct ThrowingAllocator {
  static constexpr bool kNeedFree = true;
  void* Malloc(size_t size) { return size == 0 ? nullptr : checked(std::malloc(size)); }
  void* Realloc(void* block, size_t, size_t size) {
    if (size == 0) {
      std::free(block);
      return nullptr;
    }
    return checked(std::realloc(block, size));
  }
  static void Free(void* block) { std::free(block); }

 private:
  static void* checked(void* block) {
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
};

// The name's bytes: RapidJSON writes an escaped lone surrogate U+DCXX as the
// three bytes ED B2|B3 XX; U+DC80 to U+DCFF stand for the bytes 0x80 to 0xFF.
std::string rawName(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    if (byte(i) == 0xED && i + 2 < text.size() && (byte(i + 1) == 0xB2 || byte(i + 1) == 0xB3) &&
        (byte(i + 2) & 0xC0) == 0x80) {
      bytes += char(((byte(i + 1) & 0x03) << 6) | (byte(i + 2) & 0x3F));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// Follows the parser's events: the outer array (major and minor version,
// metadata, the tree), then the tree, where an array is a folder whose
// first element is the folder's own object, and an object is a file.
class ImportHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, ImportHandler> {
 public:
  std::optional<std::string> failure;
  CountingStream* stream = nullptr;  // what is read, to limit its strings

  explicit ImportHandler(TMImportTarget& target) : target_(target), scan_(target.scan) {}

  bool StartArray() {
    if (inObject_ && !skipping() && isCheckedKey()) return wrong(mustBe());
    if (skipping() || inObject_) return enterSkipped();
    if (stage_ == Stage::Start) return advance(Stage::Major);
    if (stage_ == Stage::Metadata) return wrong("the metadata object is missing");
    if (stage_ != Stage::Tree || treeDone_) return wrong("an array where it does not belong");
    if (expectingFolderObject_) return wrong("a folder's array must begin with the folder's object");
    expectingFolderObject_ = true;
    return true;
  }
  bool EndArray(rapidjson::SizeType) {
    if (skipping()) return leaveSkipped();
    if (stage_ != Stage::Tree) return wrong("the export holds no tree");
    if (treeDone_) return advance(Stage::Done);
    if (depth_ == 0 && !expectingFolderObject_) return wrong("the export holds no tree");
    if (expectingFolderObject_) return wrong("an empty array where a folder belongs");
    if (--depth_ == 0) treeDone_ = true;  // the root's own array
    target_.leaveFolder();  // the root stays open in a tree of its own
    return true;
  }
  bool StartObject() {
    if (inObject_ && !skipping() && isCheckedKey()) return wrong(mustBe());
    if (skipping() || inObject_) return enterSkipped();
    if (stage_ == Stage::Metadata) {
      inObject_ = true;
      return true;
    }
    if (stage_ != Stage::Tree || treeDone_) return wrong("an object where it does not belong");
    if (depth_ == 0 && !expectingFolderObject_) return wrong("the scanned path must be a folder (an array)");
    inObject_ = true;
    entry_ = Entry{};
    entry_.folder = expectingFolderObject_;
    expectingFolderObject_ = false;
    return true;
  }
  bool EndObject(rapidjson::SizeType) {
    if (skipping()) return leaveSkipped();
    inObject_ = false;
    if (stage_ == Stage::Metadata) {
      scan_.program = programName_ + (programName_.empty() || programVersion_.empty() ? "" : " ") + programVersion_;
      return advance(Stage::Tree);
    }
    return endEntry();
  }
  bool Key(const char* text, rapidjson::SizeType length, bool) {
    key_.assign(text, length);
    // A name's bytes come as \udcXX escapes at worst, each read out as 3.
    if (stream != nullptr && key_ == "name") stream->limitNextString(3 * kLongestName);
    return true;
  }
  bool String(const char* text, rapidjson::SizeType length, bool) {
    if (skipping()) return true;
    const std::string_view value(text, length);
    if (stage_ == Stage::Metadata) {
      if (key_ == "progname") programName_ = value;
      if (key_ == "progver") programVersion_ = value;
      if (key_ == "hostname") scan_.hostname = value.substr(0, kLongestName);
      return true;
    }
    if (stage_ != Stage::Tree) return wrong("a value where the version belongs");
    if (!inObject_) return wrong("a string where an entry belongs");
    if (key_ == "name") {
      entry_.name = rawName(value);
      if (entry_.name.size() > kLongestName)
        return wrong("a name of " + std::to_string(entry_.name.size()) + " bytes: at most " +
                     std::to_string(kLongestName) + " are accepted");
      entry_.named = true;
    } else if (key_ == "excluded") {
      entry_.excluded = true;
    } else if (isNumberKey()) {
      return wrong("\"" + key_ + "\" must be a number");
    }
    return true;
  }
  bool Uint64(uint64_t value) { return number(value); }
  bool Int64(int64_t value) { return value < 0 ? negative() : number(uint64_t(value)); }
  bool Uint(unsigned value) { return number(value); }
  bool Int(int value) { return Int64(value); }
  bool Double(double value) {
    if (skipping() || stage_ == Stage::Metadata || (stage_ == Stage::Tree && inObject_ && !isNumberKey()))
      return true;
    if (stage_ == Stage::Major || stage_ == Stage::Minor) return wrong("the version must be two whole numbers");
    if (stage_ == Stage::Tree && !inObject_) return wrong("a number where an entry belongs");
    if (value < 0) return negative();
    if (!(value < 18446744073709551616.0)) return wrong("\"" + key_ + "\" is too large");
    return number(uint64_t(value));
  }
  bool Bool(bool value) {
    if (skipping()) return true;
    if (stage_ == Stage::Tree && !inObject_) return wrong("a value where an entry belongs");
    if (stage_ == Stage::Tree && inObject_ && key_ == "read_error") entry_.unreadable = value;
    if (stage_ == Stage::Tree && inObject_ && isNumberKey()) return wrong("\"" + key_ + "\" must be a number");
    return stage_ == Stage::Tree || stage_ == Stage::Metadata ? true : wrong("a value where the version belongs");
  }
  bool Null() { return Bool(false); }
  bool Default() { return true; }

 private:
  enum class Stage { Start, Major, Minor, Metadata, Tree, Done };
  struct Entry {
    std::string name;
    std::optional<uint64_t> size;    // dsize
    std::optional<uint64_t> length;  // asize
    int64_t modified = 0;  // 0: not given
    bool named = false;
    bool folder = false;
    bool excluded = false;
    bool unreadable = false;
  };

  bool advance(Stage next) {
    stage_ = next;
    return true;
  }
  bool wrong(std::string message) {
    if (!failure) failure = std::move(message);
    return false;
  }
  // Only the sizes and identities must be whole and positive; the version
  // is checked as it is; other values (a time before 1970) may be negative.
  bool negative() {
    const bool anyValue = stage_ == Stage::Metadata || (stage_ == Stage::Tree && inObject_ && !isNumberKey());
    if (skipping() || anyValue) return true;
    if (stage_ == Stage::Major || stage_ == Stage::Minor) return wrong("the version cannot be negative");
    return wrong("\"" + key_ + "\" cannot be negative");
  }
  bool isNumberKey() const {
    return key_ == "asize" || key_ == "dsize" || key_ == "ino" || key_ == "dev" || key_ == "nlink";
  }
  // Keys whose value this reader needs of one kind, never an array or object.
  bool isCheckedKey() const { return isNumberKey() || key_ == "name" || key_ == "mtime"; }
  std::string mustBe() const {
    return "\"" + key_ + "\" must be " + (key_ == "name" ? "a string" : "a number");
  }

  // A value under a key this reader does not know is passed over whole.
  bool skipping() const { return skipDepth_ > 0; }
  bool enterSkipped() {
    if (++skipDepth_ + (stage_ == Stage::Metadata ? 1 : 0) > kDeepestValue)
      return wrong("values nested deeper than " + std::to_string(kDeepestValue) + " levels");
    return true;
  }
  bool leaveSkipped() {
    --skipDepth_;
    return true;
  }

  bool number(uint64_t value) {
    if (skipping()) return true;
    switch (stage_) {
      case Stage::Major:
        if (value != 1) return wrong("this is format version " + std::to_string(value) + ", only 1.x can be read");
        return advance(Stage::Minor);
      case Stage::Minor:
        return advance(Stage::Metadata);
      case Stage::Metadata:
        if (key_ == "timestamp") scan_.timestamp = int64_t(value);
        return true;
      case Stage::Tree:
        if (!inObject_) return wrong("a number where an entry belongs");
        if (key_ == "dsize") entry_.size = value;
        if (key_ == "asize") entry_.length = value;
        if (key_ == "mtime") entry_.modified = int64_t(std::min<uint64_t>(value, INT64_MAX));
        if (key_ == "name") return wrong("\"name\" must be a string");
        return true;
      default:
        return wrong("a number where it does not belong");
    }
  }

  bool endEntry() {
    if (!entry_.named) return wrong("an entry without a name");
    const std::string& name = entry_.name;
    const bool isRoot = depth_ == 0;
    if (name.find('\0') != std::string::npos) return wrong("a name cannot hold a NUL character");
    if (!isRoot && !TMImportTarget::isEntryName(name)) return wrong("\"" + name + "\" cannot be the name of an entry");
    if (isRoot) {
      if (name.empty()) return wrong("the scanned path is empty");
      target_.beginRoot(name);
      depth_ = 1;
    } else if (entry_.folder) {
      target_.enterFolder(name);
      ++depth_;
    } else if (entry_.excluded) {
      target_.noteExcluded();
    } else if (auto error = target_.addFile(name, entry_.size, entry_.length, entry_.modified)) {
      return wrong(*error);
    }
    if (entry_.folder && entry_.unreadable) target_.markFolderUnreadable();
    return true;
  }

  Stage stage_ = Stage::Start;
  std::string programName_;
  std::string programVersion_;
  std::string key_;
  Entry entry_;
  bool inObject_ = false;
  bool expectingFolderObject_ = false;
  bool treeDone_ = false;
  int skipDepth_ = 0;
  uint64_t depth_ = 0;  // folders of this export entered and not left
  TMImportTarget& target_;
  TMImportedScan& scan_;
};

// Reads the JSON export in `stream` (its first bytes `start` read already)
// into `target`.
std::optional<TMImportError> readJson(std::FILE* stream, std::string_view start, TMImportTarget& target,
                                      const std::stop_token& stop) {
  CountingStream reader(stream, start, stop);
  ImportHandler handler(target);
  handler.stream = &reader;
  rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, ThrowingAllocator> parser;
  rapidjson::ParseResult result;
  try {
    result = parser.Parse<rapidjson::kParseIterativeFlag>(reader, handler);
  } catch (const std::bad_alloc&) {
    return TMImportError{reader.line(), reader.column(), TMImportTarget::kTooLarge, {}};
  }
  // A compressed file cut in its trailer has given all its text, and is still broken.
  if (!result.IsError() && !handler.failure && reader.atEnd() && !std::ferror(stream)) return std::nullopt;
  TMImportError error{reader.line(), reader.column(), {}, {}};
  if (stop.stop_requested()) {
    error.message = "stopped";
  } else if (reader.stoppedAtLongString()) {
    error.message = reader.stringLimit() == kLongestString
                        ? "a string of more than " + std::to_string(kLongestString) + " bytes: at most " +
                              std::to_string(kLongestString) + " are accepted"
                        : "a name of more than " + std::to_string(kLongestName) + " bytes: at most " +
                              std::to_string(kLongestName) + " are accepted";
  } else if (handler.failure) {
    error.message = *handler.failure;
  } else if (std::ferror(stream)) {
    error.message = decompressingFailure();
  } else if (reader.stoppedAtNul()) {
    error.message = "a NUL byte, which a JSON text cannot hold";
  } else if (result.Code() != rapidjson::kParseErrorDocumentRootNotSingular && reader.atEnd()) {
    error.message = "the file ends before the export does";
  } else {
    error.message = rapidjson::GetParseError_En(result.Code());
  }
  return error;
}

TMImportResult readOne(std::FILE* input, const std::stop_token& stop, const TMInputFile* file) {
  uint64_t total = 0;
  uint64_t lengths = 0;
  TMImportTarget target(total, lengths);
  if (auto error = importInto(input, target, stop, file)) return std::move(*error);
  return target.finish();
}

TMImportResult readSeveral(const std::vector<TMSavedScanSource>& sources, const std::stop_token& stop) {
  uint64_t total = 0;
  uint64_t lengths = 0;
  std::set<std::string> labels;
  TMImportedScan joined;
  TMFileTreeBuilder builder("");
  for (const TMSavedScanSource& source : sources) {
    TMImportTarget target(total, lengths, builder, [&](const std::string& hostname, const std::vector<std::string>& path) {
      const std::string origin = TMScanOrigins::originOf(savedScanLabel(hostname, source.fileName), path);
      const std::string name = TMScanOrigins::nameOf(origin);
      std::string unique = name;
      for (int copy = 2; labels.count(unique) != 0; ++copy) unique = name + " (" + std::to_string(copy) + ")";
      labels.insert(unique);
      joined.origins.add(unique, origin);
      return unique;
    });
    if (auto error = importInto(source.input, target, stop, source.file)) {
      error->file = source.fileName;
      return std::move(*error);
    }
    const TMImportedScan& scan = target.scan;
    joined.files += scan.files;
    joined.folders += scan.folders + 1;
    joined.unreadableFolders += scan.unreadableFolders;
    joined.excludedEntries += scan.excludedEntries;
    joined.filesWithoutLength += scan.filesWithoutLength;
    joined.filesWithoutAllocatedSize += scan.filesWithoutAllocatedSize;
    // The oldest scan dates the whole.
    if (scan.timestamp != 0 && (joined.timestamp == 0 || scan.timestamp < joined.timestamp))
      joined.timestamp = scan.timestamp;
  }
  std::string rootName;
  for (const std::string& label : labels) rootName += (rootName.empty() ? "" : " + ") + label;
  if (rootName.size() > TMScanOrigins::kLongestName) rootName = std::to_string(sources.size()) + " saved scans";
  joined.root = builder.finish(rootName);
  joined.rootComponents = {"/", rootName};
  joined.origins.setRoot(TMFileURL::fromPathComponents(joined.rootComponents));
  return joined;
}

}  // namespace

std::optional<TMImportError> importInto(std::FILE* input, TMImportTarget& target, const std::stop_token& stop,
                                        const TMInputFile* file) {
  // A binary export is read by its references, not as a stream: its first
  // byte (which no compressed stream, JSON text or cache file starts with)
  // is looked at and put back.
  const int firstByte = std::getc(input);
  if (firstByte != EOF) std::ungetc(firstByte, input);
  if (firstByte == uint8_t(kBinaryExportSignature[0])) return readBinaryExportFrom(input, target, stop, file);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(openDecompressing(input), std::fclose);
  if (!stream) return TMImportError{0, 0, std::strerror(errno), {}};
  char start[kQDirStatSignatureBytes];
  const size_t startBytes = stop.stop_requested() ? 0 : std::fread(start, 1, sizeof start, stream.get());
  const std::string_view first(start, startBytes);
  std::optional<TMImportError> error = startsQDirStatCache(first)
                                           ? readQDirStatCache(stream.get(), first, target, stop)
                                           : readJson(stream.get(), first, target, stop);
  if (error && std::ferror(input) && !stop.stop_requested()) error->message = "the file could not be read";
  return error;
}

std::string savedScanLabel(std::string_view hostname, std::string_view fileName) {
  if (!hostname.empty() && hostname.find('/') == std::string_view::npos && hostname != "." && hostname != "..")
    return std::string(hostname);
  if (fileName == "-") return "standard input";
  std::string_view name = fileName.substr(fileName.rfind('/') + 1);
  for (std::string_view ending : {".zst", ".gz", ".json", ".ncdu"}) {
    if (name.size() > ending.size() && name.ends_with(ending)) name.remove_suffix(ending.size());
  }
  return name.empty() || name == "." || name == ".." ? "saved scan" : std::string(name);
}

namespace {

// Reads one saved scan, running out of memory included.
TMImportResult importGuarded(std::FILE* input, const std::stop_token& stop, const TMInputFile* file) {
  TMImportResult result = TMImportError{0, 0, TMImportTarget::kTooLarge, {}};
  try {
    result = readOne(input, stop, file);
  } catch (const std::bad_alloc&) {
    // What was built so far is gone with the exception.
  }
  // The lists of the folders being read are gone, and so is the parser.
  releaseFreedHeapMemory();
  return result;
}

}  // namespace

TMImportResult importNcduExport(std::FILE* input, const std::stop_token& stop) {
  return importGuarded(input, stop, nullptr);
}

TMImportResult importNcduExportAt(const std::string& path, const std::stop_token& stop) {
  std::string error;
  std::unique_ptr<TMInputFile> input = TMInputFile::open(path, error, stop);
  if (!input) return TMImportError{0, 0, error, path};
  return importGuarded(input->stream(), stop, input.get());
}

TMImportResult importNcduExportsAt(const std::vector<std::string>& paths, const std::stop_token& stop) {
  if (paths.size() == 1) return importNcduExportAt(paths.front(), stop);
  std::vector<std::unique_ptr<TMInputFile>> inputs;
  std::vector<TMSavedScanSource> sources;
  for (const std::string& path : paths) {
    std::string error;
    inputs.push_back(TMInputFile::open(path, error, stop));
    if (!inputs.back()) return TMImportError{0, 0, error, path};
    sources.push_back({inputs.back()->stream(), path, inputs.back().get()});
  }
  return importNcduExports(sources, stop);
}

TMImportResult importNcduExports(const std::vector<TMSavedScanSource>& sources, const std::stop_token& stop) {
  TMImportResult result = TMImportError{0, 0, TMImportTarget::kTooLarge, {}};
  try {
    result = readSeveral(sources, stop);
  } catch (const std::bad_alloc&) {
    // What was built so far is gone with the exception.
  }
  releaseFreedHeapMemory();
  return result;
}

}  // namespace tilemora
