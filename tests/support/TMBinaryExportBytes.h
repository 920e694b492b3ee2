// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Binary exports made byte by byte for tests: hex, big-endian numbers, and
// exports crafted from items given as CBOR, broken ones included.

#include <gtest/gtest.h>
#include <zstd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/TMBinaryExportFormat.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMNcduImport.h"
#include "import/TMTreeBinaryExport.h"
#include "import/TMTreeExport.h"

namespace tilemora::test {

inline std::string hexOf(std::string_view bytes) {
  static const char* const kDigits = "0123456789abcdef";
  std::string text;
  for (unsigned char c : bytes) (text += kDigits[c >> 4]) += kDigits[c & 15];
  return text;
}

inline std::string bytesOfHex(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) bytes += char(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
  return bytes;
}

inline uint64_t bigEndianIn(const std::string& bytes, size_t at, int count) {
  uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | uint8_t(bytes[at + i]);
  return value;
}

inline void putBigEndianIn(std::string& bytes, size_t at, uint64_t value, int count) {
  for (int i = count - 1; i >= 0; --i, value >>= 8) bytes[at + i] = char(value);
}

// An export made of `blocks` of items (each given as CBOR, in hex), with
// the index naming them in order and `root` as the root.
inline std::string craftedExport(const std::vector<std::vector<std::string>>& blocks, uint64_t root) {
  std::string bytes(kBinaryExportSignature);
  std::vector<uint64_t> places;
  for (size_t number = 0; number < blocks.size(); ++number) {
    std::string raw;
    for (const std::string& item : blocks[number]) raw += bytesOfHex(item);
    std::string frame(ZSTD_compressBound(raw.size()), '\0');
    frame.resize(ZSTD_compress(frame.data(), frame.size(), raw.data(), raw.size(), 1));
    const size_t length = frame.size() + 12;
    std::string block(8, '\0');
    putBigEndianIn(block, 0, length, 4);
    putBigEndianIn(block, 4, number, 4);
    block += frame + block.substr(0, 4);
    places.push_back(uint64_t(bytes.size()) << 24 | length);
    bytes += block;
  }
  std::string index(4 + 8 * places.size() + 8 + 4, '\0');
  const uint64_t typeLen = 1u << 28 | index.size();
  putBigEndianIn(index, 0, typeLen, 4);
  for (size_t i = 0; i < places.size(); ++i) putBigEndianIn(index, 4 + 8 * i, places[i], 8);
  putBigEndianIn(index, 4 + 8 * places.size(), root, 8);
  putBigEndianIn(index, index.size() - 4, typeLen, 4);
  return bytes + index;
}

// Items in hex: a folder or file with a name of one letter, then more pairs.
inline std::string folderItem(char name, const std::string& more = "", int pairs = 0) {
  return "a" + std::to_string(2 + pairs) + "0000" "0141" + hexOf(std::string(1, name)) + more;
}
inline std::string fileItem(char name, const std::string& more = "", int pairs = 0, const char* type = "01") {
  return "a" + std::to_string(2 + pairs) + "00" + type + "0141" + hexOf(std::string(1, name)) + more;
}

// The tree a saved scan in `bytes` (JSON or binary) holds, read whole.
inline std::shared_ptr<TMFileTree> wholeTreeOfExport(const std::string& bytes) {
  std::FILE* input = ::fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
  TMImportResult result = importNcduExport(input);
  std::fclose(input);
  if (auto* error = std::get_if<TMImportError>(&result)) ADD_FAILURE() << error->text();
  auto* scan = std::get_if<TMImportedScan>(&result);
  return scan != nullptr ? scan->root : nullptr;
}

// The binary export of the tree the JSON export `json` gives.
inline std::string binaryExportOfJson(const std::string& json) {
  const std::shared_ptr<TMFileTree> tree = wholeTreeOfExport(json);
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  TMTreeExportHeader header;
  header.rootPath = "/r";
  EXPECT_TRUE(tree && writeTreeBinaryExport(*tree, header, out));
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

// Every item of the binary export in `bytes` by its path (the root's name,
// then a slash and a name for each level), walked from the root down.
inline std::map<std::string, TMBinaryItem> itemsByPath(const std::string& bytes) {
  std::map<std::string, TMBinaryItem> items;
  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader = TMBinaryExportReader::fromBytes(bytes, error);
  std::optional<TMBinaryItem> root = reader ? reader->item(reader->root(), error) : std::nullopt;
  if (!root) {
    ADD_FAILURE() << error;
    return items;
  }
  std::vector<std::pair<std::string, TMBinaryItem>> pending{{root->name, *root}};
  while (!pending.empty()) {
    auto [path, item] = std::move(pending.back());
    pending.pop_back();
    std::vector<TMBinaryItem> entries;
    if (item.isFolder() && !reader->entriesOf(item.sub, error, &entries)) ADD_FAILURE() << path << ": " << error;
    for (TMBinaryItem& entry : entries) pending.emplace_back(path + "/" + entry.name, std::move(entry));
    if (!items.emplace(path, std::move(item)).second) ADD_FAILURE() << path << " written twice";
  }
  return items;
}

}  // namespace tilemora::test
