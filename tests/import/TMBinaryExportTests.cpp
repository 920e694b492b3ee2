// SPDX-License-Identifier: GPL-3.0-or-later
// ncdu's binary export: CBOR in its shortest forms, the file's framing and
// items as the format describes them, round trips through JSON, and files
// that are cut short, damaged or whose references lead astray.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zstd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "import/TMBinaryExportReader.h"
#include "import/TMCborReader.h"
#include "import/TMCborWriter.h"
#include "import/TMNcduImport.h"
#include "import/TMTreeBinaryExport.h"
#include "import/TMTreeExport.h"
#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

TMImportResult importBinaryBytes(const std::string& bytes) {
  std::FILE* input = ::fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
  TMImportResult result = importNcduExport(input);
  std::fclose(input);
  return result;
}

std::shared_ptr<TMFileTree> treeFromJson(const std::string& json) {
  TMImportResult result = importBinaryBytes(json);
  if (auto* error = std::get_if<TMImportError>(&result)) ADD_FAILURE() << error->text();
  auto* scan = std::get_if<TMImportedScan>(&result);
  return scan != nullptr ? scan->root : nullptr;
}

template <class Write>
std::string bytesWrittenBy(Write write) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  EXPECT_TRUE(write(out));
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

const TMTreeExportHeader kBinaryHeader{"/r", "t", "1", 0, ""};

std::string binaryExportOf(const TMFileTree& root) {
  return bytesWrittenBy([&](std::FILE* out) { return writeTreeBinaryExport(root, kBinaryHeader, out); });
}
std::string jsonExportOf(const TMFileTree& root) {
  return bytesWrittenBy([&](std::FILE* out) { return writeTreeExport(root, kBinaryHeader, out); });
}

// ---------------------------------------------------------------- CBOR

struct CborCase {
  const char* name;
  std::function<void(TMCborWriter&)> write;
  const char* bytes;  // hex, as RFC 8949's examples give them
};

class TMCborWriting : public ::testing::TestWithParam<CborCase> {};

TEST_P(TMCborWriting, WritesTheShortestFormAndReadsItBack) {
  std::string bytes;
  TMCborWriter writer(bytes);
  GetParam().write(writer);
  EXPECT_EQ(hexOf(bytes), GetParam().bytes);
  // The head read back spans every byte written, for the numbers.
  TMCborReader reader(bytes, 0);
  const auto head = reader.head();
  ASSERT_TRUE(head);
  std::string text;
  if (head->major == TMCborReader::Major::kBytes) {
    ASSERT_TRUE(reader.string(*head, text, 100));
  }
  EXPECT_EQ(reader.position(), bytes.size());
}

const CborCase kCborCases[] = {
    {"zero", [](TMCborWriter& w) { w.unsignedInteger(0); }, "00"},
    {"23 in the head", [](TMCborWriter& w) { w.unsignedInteger(23); }, "17"},
    {"24 in one byte", [](TMCborWriter& w) { w.unsignedInteger(24); }, "1818"},
    {"255 in one byte", [](TMCborWriter& w) { w.unsignedInteger(255); }, "18ff"},
    {"256 in two bytes", [](TMCborWriter& w) { w.unsignedInteger(256); }, "190100"},
    {"65536 in four bytes", [](TMCborWriter& w) { w.unsignedInteger(65536); }, "1a00010000"},
    {"2 to the 32 in eight bytes", [](TMCborWriter& w) { w.unsignedInteger(1ull << 32); }, "1b0000000100000000"},
    {"largest", [](TMCborWriter& w) { w.unsignedInteger(UINT64_MAX); }, "1bffffffffffffffff"},
    {"minus one", [](TMCborWriter& w) { w.integer(-1); }, "20"},
    {"minus 24", [](TMCborWriter& w) { w.integer(-24); }, "37"},
    {"minus 25", [](TMCborWriter& w) { w.integer(-25); }, "3818"},
    {"minus 257", [](TMCborWriter& w) { w.integer(-257); }, "390100"},
    {"positive integer", [](TMCborWriter& w) { w.integer(100); }, "1864"},
    {"empty bytes", [](TMCborWriter& w) { w.byteString(""); }, "40"},
    {"raw bytes", [](TMCborWriter& w) { w.byteString("\x01\xff"); }, "4201ff"},
    {"true", [](TMCborWriter& w) { w.boolean(true); }, "f5"},
    {"false", [](TMCborWriter& w) { w.boolean(false); }, "f4"},
};
INSTANTIATE_TEST_SUITE_P(Values, TMCborWriting, ::testing::ValuesIn(kCborCases), caseNamesByName);

struct CborReadCase {
  const char* name;
  const char* bytes;     // hex
  bool skipped;          // whether the value is read whole
  const char* string;    // for a string read whole: its bytes, hex
};

class TMCborReading : public ::testing::TestWithParam<CborReadCase> {};

TEST_P(TMCborReading, ReadsOnlyWhatIsWellFormedAndWithin) {
  const std::string bytes = bytesOfHex(GetParam().bytes);
  TMCborReader reader(bytes, 0);
  const auto head = reader.head();
  std::string text;
  const bool read = head && (GetParam().string != nullptr ? reader.string(*head, text, 16) : reader.skip(*head));
  EXPECT_EQ(read, GetParam().skipped);
  if (read) {
    EXPECT_EQ(reader.position(), bytes.size());
    if (GetParam().string != nullptr) {
      EXPECT_EQ(hexOf(text), GetParam().string);
    }
  }
}

const CborReadCase kCborReadCases[] = {
    {"a reserved length 28", "1c00000000000000000000000000000000", false, nullptr},
    {"a reserved length 30", "1e", false, nullptr},
    {"an indefinite number", "1f", false, nullptr},
    {"a number cut short", "1a0001", false, nullptr},
    {"a string longer than the bytes", "4501", false, nullptr},
    {"a string in chunks", "5f42010243030405ff", true, "0102030405"},
    {"a text chunk in a byte string", "5f420102630304ff", false, ""},
    {"a string longer than allowed", "51000102030405060708090a0b0c0d0e0f10", false, ""},
    {"nested arrays and maps", "a2016161820203a1f5f4", true, nullptr},
    {"an indefinite map", "bf0102ff", true, nullptr},
    {"a map of more pairs than bytes", "bb00000000ffffffff0102", false, nullptr},
    {"a tagged value", "c11a514b67b0", true, nullptr},
    {"nested deeper than allowed", "81818181818181818181818181818181818181818181818181818181818181818100", false,
     nullptr},
    {"nested as deep as allowed", "818181818181818181818181818181818181818181818181818181818181818100", true,
     nullptr},
};
INSTANTIATE_TEST_SUITE_P(Values, TMCborReading, ::testing::ValuesIn(kCborReadCases), caseNamesByName);

// ---------------------------------------------------------------- the file

// The blocks of an export as the format frames them: type, offset, length.
struct ExportBlock {
  unsigned type;
  size_t offset;
  size_t length;
};

std::vector<ExportBlock> blocksOfExport(const std::string& bytes) {
  std::vector<ExportBlock> blocks;
  for (size_t at = 8; at + 8 <= bytes.size();) {
    const uint64_t typeLen = bigEndianIn(bytes, at, 4);
    const size_t length = typeLen & 0x0fffffff;
    EXPECT_GE(length, 8u);
    EXPECT_LE(at + length, bytes.size());
    if (length < 8 || at + length > bytes.size()) break;
    EXPECT_EQ(bigEndianIn(bytes, at + length - 4, 4), typeLen) << "footer of the block at " << at;
    blocks.push_back({unsigned(typeLen >> 28), at, length});
    at += length;
  }
  return blocks;
}

std::string decompressedExportBlock(const std::string& bytes, const ExportBlock& block) {
  const char* frame = bytes.data() + block.offset + 8;
  const size_t size = block.length - 12;
  std::string raw(ZSTD_getFrameContentSize(frame, size), '\0');
  EXPECT_EQ(ZSTD_decompress(raw.data(), raw.size(), frame, size), raw.size());
  return raw;
}

// A root "/r" holding "d" (with "b" and the unreadable "u") and "a".
std::shared_ptr<TMFileTree> smallBinaryTree() {
  return treeFromJson(R"([1,2,{},[{"name":"/r"},
    [{"name":"d"},{"name":"b","asize":300,"dsize":8192},[{"name":"u","read_error":true}]],
    {"name":"a","asize":5,"dsize":4096,"mtime":1700000000}]])");
}

TEST(TMBinaryExportFormat, FramesBlocksAndIndexesThemAsDescribed) {
  const std::string bytes = binaryExportOf(*smallBinaryTree());
  ASSERT_EQ(bytes.substr(0, 8), std::string("\xbf" "ncduEX1"));
  const std::vector<ExportBlock> blocks = blocksOfExport(bytes);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].type, 0u);
  EXPECT_EQ(bigEndianIn(bytes, blocks[0].offset + 4, 4), 0u) << "the first data block's number";
  const ExportBlock& index = blocks.back();
  EXPECT_EQ(index.type, 1u);
  EXPECT_EQ(index.offset + index.length, bytes.size()) << "the index ends the file";
  ASSERT_EQ(index.length, 8u + 8 + 8);
  EXPECT_EQ(bigEndianIn(bytes, index.offset + 4, 8), uint64_t(blocks[0].offset) << 24 | blocks[0].length);

  // Entries first, each folder after them; a folder's sub names its last
  // entry, each entry's prev the one before it (relative: negative).
  const std::string raw = decompressedExportBlock(bytes, blocks[0]);
  const std::string b = "a4" "0001" "014162" "0319012c" "04192000";
  const std::string u = "a7" "0000" "014175" "022d" "06f5" "0700" "0800" "0b00";
  ASSERT_GE(raw.size(), (b.size() + u.size()) / 2);
  EXPECT_EQ(hexOf(raw.substr(0, b.size() / 2)), b);
  EXPECT_EQ(hexOf(raw.substr(b.size() / 2, u.size() / 2)), u);

  std::string error;
  auto reader = TMBinaryExportReader::fromBytes(bytes, error);
  ASSERT_TRUE(reader) << error;
  EXPECT_EQ(reader->root(), bigEndianIn(bytes, index.offset + 12, 8));
  const auto root = reader->item(reader->root(), error);
  ASSERT_TRUE(root) << error;
  EXPECT_EQ(root->name, "/r");
  EXPECT_EQ(root->cumulativeDsize, 8192u + 4096);
  EXPECT_EQ(root->cumulativeAsize, 305u);
  EXPECT_EQ(root->items, 4u);
  EXPECT_EQ(root->readError, false) << "a folder below could not be read";
  const auto a = reader->item(*root->sub, error);
  ASSERT_TRUE(a) << error;
  EXPECT_EQ(a->name, "a");
  EXPECT_EQ(a->mtime, 1700000000u);
  const auto d = reader->item(*a->prev, error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(d->name, "d");
  EXPECT_EQ(d->items, 2u);
  EXPECT_EQ(d->readError, false);
  EXPECT_FALSE(d->prev);
}

// ---------------------------------------------------------------- round trips

struct BinaryTreeCase {
  const char* name;
  std::function<std::string()> json;
};

class TMBinaryRoundTrip : public ::testing::TestWithParam<BinaryTreeCase> {};

TEST_P(TMBinaryRoundTrip, KeepsEveryNameSizeDateAndError) {
  const std::shared_ptr<TMFileTree> original = treeFromJson(GetParam().json());
  ASSERT_TRUE(original);
  const std::string binary = binaryExportOf(*original);
  const std::shared_ptr<TMFileTree> read = treeFromJson(binary);
  ASSERT_TRUE(read);
  // Binary to JSON gives what JSON gave; JSON to binary, the same bytes.
  const std::string json = jsonExportOf(*original);
  EXPECT_EQ(jsonExportOf(*read), json);
  const std::shared_ptr<TMFileTree> again = treeFromJson(jsonExportOf(*read));
  ASSERT_TRUE(again);
  EXPECT_EQ(binaryExportOf(*again), binary);
}

std::string manyFilesAndDeepFolders() {
  std::string json = R"([1,2,{},[{"name":"/big"})";
  for (int i = 0; i < 20000; ++i)
    json += ",{\"name\":\"file" + std::to_string(i) + "\",\"asize\":" + std::to_string(i * 7) +
            ",\"dsize\":" + std::to_string(i % 50 * 4096) + ",\"mtime\":" + std::to_string(1600000000 + i) + "}";
  for (int depth = 0; depth < 3000; ++depth) json += ",[{\"name\":\"level\"},{\"name\":\"f\",\"asize\":1,\"dsize\":512}";
  for (int depth = 0; depth < 3000; ++depth) json += "]";
  return json + "]]";
}

const BinaryTreeCase kBinaryTreeCases[] = {
    {"an empty root", [] { return std::string(R"([1,2,{},[{"name":"/r"}]])"); }},
    {"an unreadable root", [] { return std::string(R"([1,2,{},[{"name":"/r","read_error":true}]])"); }},
    {"files folders and errors", [] {
       return std::string(R"([1,2,{},[{"name":"/srv/x"},
         [{"name":"d"},{"name":"b","asize":300,"dsize":8192},[{"name":"u","read_error":true}]],
         {"name":"a","asize":5,"dsize":4096,"mtime":1700000000},[{"name":"empty"}]]])");
     }},
    {"names that are no UTF-8", [] {
       return std::string(R"([1,2,{},[{"name":"/r"},{"name":"bad\udcff\udcfe","asize":1,"dsize":512},
         {"name":"new\nline \"quoted\"","asize":2,"dsize":512},{"name":"ünïcødé","asize":3,"dsize":512}]])");
     }},
    {"sizes beyond 32 bits", [] {
       return std::string(R"([1,2,{},[{"name":"/r"},{"name":"huge","asize":9000000000000000000,"dsize":4398046511104,"mtime":4102444800}]])");
     }},
    {"many files and deep folders across blocks", manyFilesAndDeepFolders},
};
INSTANTIATE_TEST_SUITE_P(Trees, TMBinaryRoundTrip, ::testing::ValuesIn(kBinaryTreeCases), caseNamesByName);

TEST(TMBinaryExportFile, IsReadFromAFileByItsReferences) {
  const std::shared_ptr<TMFileTree> original = treeFromJson(manyFilesAndDeepFolders());
  char path[] = "/tmp/tilemora-binary-XXXXXX";
  const int descriptor = ::mkstemp(path);
  ASSERT_GE(descriptor, 0);
  const std::string binary = binaryExportOf(*original);
  ASSERT_EQ(::write(descriptor, binary.data(), binary.size()), ssize_t(binary.size()));
  ::close(descriptor);
  TMImportResult result = importNcduExportAt(path);
  ::unlink(path);
  auto* scan = std::get_if<TMImportedScan>(&result);
  ASSERT_TRUE(scan) << std::get<TMImportError>(result).text();
  EXPECT_EQ(jsonExportOf(*scan->root), jsonExportOf(*original));
  EXPECT_EQ(scan->files, 23000u);
  EXPECT_EQ(scan->folders, 3000u);
}

// ---------------------------------------------------------------- broken files

std::string validBinaryExport() { return binaryExportOf(*smallBinaryTree()); }

struct BrokenExportCase {
  const char* name;
  std::function<std::string()> bytes;
  const char* error;  // a part of the error told; null: read whole
  uint64_t files = 0;
  uint64_t excluded = 0;
};

class TMBinaryExportBroken : public ::testing::TestWithParam<BrokenExportCase> {};

TEST_P(TMBinaryExportBroken, IsRefusedWithItsReasonOrReadWhole) {
  TMImportResult result = importBinaryBytes(GetParam().bytes());
  if (GetParam().error == nullptr) {
    auto* scan = std::get_if<TMImportedScan>(&result);
    ASSERT_TRUE(scan) << std::get<TMImportError>(result).text();
    EXPECT_EQ(scan->files, GetParam().files);
    EXPECT_EQ(scan->excludedEntries, GetParam().excluded);
    return;
  }
  auto* error = std::get_if<TMImportError>(&result);
  ASSERT_TRUE(error) << "read as complete";
  EXPECT_NE(error->message.find(GetParam().error), std::string::npos) << error->message;
}

std::string cutExport(size_t keep) { return validBinaryExport().substr(0, keep); }
std::string changedExport(size_t at, char byte) {
  std::string bytes = validBinaryExport();
  bytes[at] = byte;
  return bytes;
}
std::string withIndexEntriesSwapped() {
  std::string bytes = binaryExportOf(*treeFromJson(manyFilesAndDeepFolders()));
  const ExportBlock index = blocksOfExport(bytes).back();
  const std::string first = bytes.substr(index.offset + 4, 8);
  bytes.replace(index.offset + 4, 8, bytes.substr(index.offset + 12, 8));
  bytes.replace(index.offset + 12, 8, first);
  return bytes;
}

// Offsets of items in a crafted block: an item's bytes are its hex over 2.
const BrokenExportCase kBrokenExportCases[] = {
    {"only the signature", [] { return cutExport(8); }, "cut short"},
    {"cut in the index", [] { return cutExport(validBinaryExport().size() - 3); }, "cut short"},
    {"cut in a data block", [] { return validBinaryExport().erase(20, 10); }, "block 0"},
    {"a damaged compressed byte", [] { return changedExport(validBinaryExport().size() / 2 - 20, '\x55'); }, "block 0"},
    {"a block footer unlike its header", [] { return changedExport(blocksOfExport(validBinaryExport())[0].offset +
                                                                  blocksOfExport(validBinaryExport())[0].length - 1, 9); },
     "not the data block"},
    {"index entries swapped", withIndexEntriesSwapped, "not the data block its index names"},
    {"the root in a block not indexed", [] { return craftedExport({{folderItem('r')}}, 5ull << 24); }, "no block 5"},
    {"a reference past its block", [] { return craftedExport({{folderItem('r', "0c1864", 1)}}, 0); }, "past the end"},
    {"a reference before the first item", [] { return craftedExport({{folderItem('r', "0c20", 1)}}, 0); }, "before the file"},
    {"a folder that is its own entry", [] { return craftedExport({{folderItem('r', "0c00", 1)}}, 0); }, "itself"},
    {"a folder whose entry is the folder above",
     [] { return craftedExport({{folderItem('r', "0c08", 1), folderItem('d', "0c00", 1)}}, 0); }, "folder above it"},
    {"entries in a circle of three",
     // a at 0 (prev c), b at 8 (prev a), c at 16 (prev b); the root names c.
     [] { return craftedExport({{fileItem('a', "0210", 1), fileItem('b', "0200", 1), fileItem('c', "0208", 1), folderItem('r', "0c10", 1)}}, 24); },
     "refer back to one another"},
    {"an item that is no map", [] { return craftedExport({{"8100"}}, 0); }, "not a map"},
    {"an unknown type", [] { return craftedExport({{"a2000701417a"}}, 0); }, "type"},
    {"no name", [] { return craftedExport({{"a10000"}}, 0); }, "no name"},
    {"a name too long", [] { return craftedExport({{"a2000001591001" + std::string(8194, 'a')}}, 0); }, "name"},
    {"a size that is a string", [] { return craftedExport({{fileItem('f', "034161", 1), folderItem('r', "0c00", 1)}}, 9); },
     "not a number"},
    {"a date that is a string", [] { return craftedExport({{fileItem('f', "124161", 1), folderItem('r', "0c00", 1)}}, 9); },
     "not a number"},
    {"a read error that is a number", [] { return craftedExport({{folderItem('r', "0601", 1)}}, 0); }, "true or false"},
    {"a root that is a file", [] { return craftedExport({{fileItem('f')}}, 0); }, "must be a folder"},
    {"an entry named dot dot", [] { return craftedExport({{"a20001014" "22e2e", folderItem('r', "0c00", 1)}}, 7); },
     "cannot be the name"},
    {"keys unknown to this reader", [] { return craftedExport({{fileItem('f', "1863820102", 1), folderItem('r', "0c00", 1)}}, 11); },
     nullptr, 1},
    {"an indefinite map", [] { return craftedExport({{"bf00010141660305ff", folderItem('r', "0c00", 1)}}, 9); }, nullptr, 1},
    {"entries that could not be examined are listed", [] {
       // e at 0, p at 6, o at 14, k at 22, each naming the one before; the root at 30.
       return craftedExport({{fileItem('e', "", 0, "20"), fileItem('p', "0200", 1, "21"), fileItem('o', "0206", 1, "22"),
                         fileItem('k', "020e", 1, "23"), folderItem('r', "0c16", 1)}}, 30);
     }, nullptr, 1, 3},
};
INSTANTIATE_TEST_SUITE_P(Files, TMBinaryExportBroken, ::testing::ValuesIn(kBrokenExportCases), caseNamesByName);

}  // namespace
}  // namespace tilemora::test
