// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scan/TMScanDriver.h"
#include "import/TMNcduImport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "TMNcduExport.h"
#include "TMTreeChildren.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMScanOptions.h"
#include "core/scan/TMScanTask.h"
#include "support/TMCaseNames.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

std::variant<TMImportedScan, TMImportError> importText(const std::string& text) {
  std::FILE* input = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  auto result = importNcduExport(input);
  std::fclose(input);
  return result;
}

// Scans `path` with the export writing to memory; answers the scan's root
// and the export's text.
std::pair<std::shared_ptr<TMFileTree>, std::string> scanAndExport(const std::string& path) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  auto exporter = std::make_shared<TMNcduExport>(out, "test", 1700000000);
  auto queue = std::make_shared<TMManualMainQueue>();
  TMScanEnvironment environment{queue};
  environment.observer = exporter;
  bool ended = false;
  std::shared_ptr<TMScanTask> task;
  auto root = createFromPath(TMFileURL::fromPath(path), nullptr, [&] { ended = true; }, environment, task);
  while (!ended) queue->runNextWithin(std::chrono::milliseconds(100));
  EXPECT_TRUE(exporter->finish());
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return {root, text};
}

// Children ordered by size, then name: equal sizes may come in any order.
std::vector<const TMFileTree*> ordered(const TMFileTree& node) {
  std::vector<const TMFileTree*> children = childrenOf(node);
  std::stable_sort(children.begin(), children.end(), [](const TMFileTree* a, const TMFileTree* b) {
    return a->diskSize() != b->diskSize() ? a->diskSize() > b->diskSize() : a->filename() < b->filename();
  });
  return children;
}

void expectSameTree(const TMFileTree& scanned, const TMFileTree& imported) {
  std::vector<std::pair<const TMFileTree*, const TMFileTree*>> pending{{&scanned, &imported}};
  while (!pending.empty()) {
    auto [a, b] = pending.back();
    pending.pop_back();
    ASSERT_EQ(a->filename(), b->filename());
    ASSERT_EQ(a->diskSize(), b->diskSize()) << a->filename();
    ASSERT_EQ(a->asFolder() != nullptr, b->asFolder() != nullptr) << a->filename();
    const auto left = ordered(*a), right = ordered(*b);
    ASSERT_EQ(left.size(), right.size()) << a->filename();
    for (size_t i = 0; i < left.size(); ++i) pending.push_back({left[i], right[i]});
    // The imported folder is sorted largest first, as a scanned one is.
    const auto listed = childrenOf(*b);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(), [](const TMFileTree* x, const TMFileTree* y) {
      return x->diskSize() > y->diskSize();
    }));
  }
}

TEST(TMNcduImport, ReadsBackWhatTheExportWroteOfARealTree) {
  TMTemporaryTree tree;
  tree.makeFolder("sub/deeper");
  tree.makeFolder("names");
  tree.makeFile("sub/deeper/big", 100000);
  tree.makeFile("sub/small", 10);
  for (const char* name : {"quote\"d", "back\\slash", "new\nline", "bad\xff\xfe", "\xed\xb3\xa9", "caf\xc3\xa9"})
    tree.makeFile(std::string("names/") + name, 5000);
  tree.makeFolder("empty");
  tree.makeFifo("fifo");
  tree.makeSymlink("names/loop", "..");
  const auto [scanned, text] = scanAndExport(tree.path());
  auto result = importText(text);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
  const TMImportedScan& imported = std::get<TMImportedScan>(result);
  EXPECT_EQ(TMFileURL::fromPathComponents(imported.rootComponents).path(), tree.path());
  EXPECT_EQ(imported.program, "tilemora-scan test");
  EXPECT_EQ(imported.timestamp, 1700000000);
  EXPECT_EQ(imported.files, 9u);
  EXPECT_EQ(imported.folders, 4u);
  expectSameTree(*scanned, *imported.root);
  // The dates went out and came back: "sub/deeper/big", largest of all.
  const TMFileTree* scannedBig = childrenOf(*childrenOf(*childrenOf(*scanned)[0])[0])[0];
  const TMFileTree* importedBig = childrenOf(*childrenOf(*childrenOf(*imported.root)[0])[0])[0];
  EXPECT_EQ(importedBig->filename(), "big");
  EXPECT_GT(scannedBig->modifiedTime(), 1600000000u);
  EXPECT_EQ(importedBig->modifiedTime(), scannedBig->modifiedTime());
}

// Hand-written exports, as ncdu and other writers make them.
struct SampleCase {
  const char* name;
  std::string json;
  uint64_t total;
  uint64_t files;
  uint64_t folders;
  uint64_t unreadable;
  std::string firstChildName;  // of the root, largest first
  int64_t firstChildModified = 0;  // its date, 0 for none
};

class TMNcduImportSamples : public ::testing::TestWithParam<SampleCase> {};

TEST_P(TMNcduImportSamples, BuildsTheTreeTheySay) {
  auto result = importText(GetParam().json);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
  const TMImportedScan& scan = std::get<TMImportedScan>(result);
  EXPECT_EQ(scan.root->diskSize(), GetParam().total);
  EXPECT_EQ(scan.files, GetParam().files);
  EXPECT_EQ(scan.folders, GetParam().folders);
  EXPECT_EQ(scan.unreadableFolders, GetParam().unreadable);
  // The map marks where: the root holds what could not be read.
  EXPECT_EQ(scan.root->asFolder()->holdsUnreadable(), GetParam().unreadable > 0);
  const auto children = childrenOf(*scan.root);
  ASSERT_FALSE(children.empty());
  EXPECT_EQ(children.front()->filename(), GetParam().firstChildName);
  EXPECT_EQ(children.front()->modifiedTime(), uint32_t(GetParam().firstChildModified));
}

const std::string kHeader = R"([1,2,{"progname":"ncdu","progver":"1.18","timestamp":1670000000},)";

INSTANTIATE_TEST_SUITE_P(
    Exports, TMNcduImportSamples,
    ::testing::Values(
        SampleCase{"hard links count at every link",
                   kHeader + R"([{"name":"/r","dsize":4096},{"name":"a","dsize":8192,"ino":5,"nlink":2,"hlnkc":true},
                   {"name":"b","dsize":8192,"ino":5,"nlink":2,"hlnkc":true},{"name":"c","dsize":100}]])",
                   16484, 3, 0, 0, "a"},
        SampleCase{"excluded entries and folders' own blocks count nothing",
                   kHeader + R"([{"name":"/r","asize":4096,"dsize":4096},{"name":"mnt","excluded":"otherfs"},
                   {"name":"skip","excluded":"pattern","dsize":999},[{"name":"d","dsize":4096},{"name":"f","dsize":512}]]])",
                   512, 1, 1, 0, "d"},
        SampleCase{"read errors are counted",
                   kHeader + R"([{"name":"/r"},[{"name":"locked","read_error":true}],{"name":"f","dsize":1}]])",
                   1, 1, 1, 1, "f"},
        SampleCase{"a file's read error is no unreadable folder",
                   kHeader + R"([{"name":"/r"},{"name":"f","dsize":1,"read_error":true},[{"name":"d","read_error":false}]]])",
                   1, 1, 1, 0, "f"},
        SampleCase{"surrogate escapes and raw bytes are the name's bytes",
                   kHeader + "[{\"name\":\"/r\"},{\"name\":\"caf\\udce9\",\"dsize\":2},{\"name\":\"raw\xff\",\"dsize\":1}]]",
                   3, 2, 0, 0, "caf\xe9"},
        SampleCase{"unknown keys are passed over, nested values too",
                   kHeader + R"([{"name":"/r","uid":0,"x":{"dsize":77,"a":[1,{"b":2}]}},{"name":"f","dsize":7,"mode":33188,"y":[[]],"notreg":false,"mtime":-5}]])",
                   7, 1, 0, 0, "f"},
        SampleCase{"dates are read where they are given",
                   kHeader + R"([{"name":"/r"},{"name":"f","dsize":7,"mtime":1700000000},{"name":"g","dsize":1}]])",
                   8, 2, 0, 0, "f", 1700000000},
        SampleCase{"numbers may be written as decimals",
                   kHeader + R"([{"name":"/r"},{"name":"f","dsize":4.096e3}]])", 4096, 1, 0, 0, "f"},
        SampleCase{"a later minor version is read",
                   R"([1,9,{"progname":"x"},[{"name":"/"},{"name":"f","dsize":1}]])", 1, 1, 0, 0, "f"},
        // The limits themselves are accepted.
        SampleCase{"sizes adding up to 2^64 - 1",
                   kHeader + R"([{"name":"/r"},{"name":"a","dsize":18446744073709551614},{"name":"b","dsize":1}]])",
                   UINT64_MAX, 2, 0, 0, "a"},
        SampleCase{"a name of 4096 bytes",
                   kHeader + R"([{"name":"/r"},{"name":")" + std::string(4096, 'n') + R"(","dsize":1}]])", 1, 1, 0,
                   0, std::string(4096, 'n')},
        // Each escaped byte is one byte of the name, however long its escape.
        SampleCase{"a name of 4096 escaped bytes",
                   kHeader + R"([{"name":"/r"},{"name":")" + [] {
                     std::string escapes;
                     for (int i = 0; i < 4096; ++i) escapes += "\\udcff";
                     return escapes;
                   }() + R"(","dsize":1}]])",
                   1, 1, 0, 0, std::string(4096, '\xff')},
        // 32768 escapes of two bytes each.
        SampleCase{"metadata strings and keys of 64 KiB",
                   R"([1,2,{"progname":")" + [] {
                     std::string escapes;
                     for (int i = 0; i < 32768; ++i) escapes += "\\u00e9";
                     return escapes;
                   }() + R"(",")" + std::string(64 * 1024, 'k') + R"(":1},[{"name":"/"},{"name":"f","dsize":1}]])",
                   1, 1, 0, 0, "f"},
        SampleCase{"metadata nested 64 deep",
                   R"([1,2,{"x":)" + std::string(63, '[') + std::string(63, ']') +
                       R"(},[{"name":"/"},{"name":"f","dsize":1}]])",
                   1, 1, 0, 0, "f"}),
    caseNamesByName);

// Files that are not readable exports: an error naming where, no tree.
// Both sizes of each file, one standing for the other where it is missing.
struct SizesCase {
  const char* name;
  std::string entries;  // after the root's object
  uint64_t onDisk;
  uint64_t length;
  uint64_t excluded;
  uint64_t withoutLength;
  uint64_t withoutAllocatedSize;
};

class TMNcduImportSizes : public ::testing::TestWithParam<SizesCase> {};

TEST_P(TMNcduImportSizes, KeepsBothSizesAndSaysWhichAreMissing) {
  auto result = importText(kHeader + R"([{"name":"/r"},)" + GetParam().entries + "]]");
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
  const TMImportedScan& scan = std::get<TMImportedScan>(result);
  EXPECT_EQ(scan.root->diskSize(), GetParam().onDisk);
  EXPECT_EQ(scan.root->alternateSize(), GetParam().length);
  EXPECT_EQ(scan.excludedEntries, GetParam().excluded);
  EXPECT_EQ(scan.filesWithoutLength, GetParam().withoutLength);
  EXPECT_EQ(scan.filesWithoutAllocatedSize, GetParam().withoutAllocatedSize);
}

INSTANTIATE_TEST_SUITE_P(
    Exports, TMNcduImportSizes,
    ::testing::Values(
        SizesCase{"both sizes", R"({"name":"a","asize":10,"dsize":4096},{"name":"b","asize":9000,"dsize":8192})",
                  12288, 9010, 0, 0, 0},
        SizesCase{"a length only stands for the size on disk", R"({"name":"a","asize":10},{"name":"b","dsize":512})",
                  522, 522, 0, 1, 1},
        SizesCase{"no size at all is nothing", R"({"name":"a"})", 0, 0, 0, 1, 1},
        SizesCase{"a zero length is a length", R"({"name":"a","asize":0,"dsize":4096})", 4096, 0, 0, 0, 0},
        SizesCase{"excluded entries are counted, not sized",
                  R"({"name":"x","excluded":"pattern","asize":5,"dsize":5},{"name":"m","excluded":"otherfs"},{"name":"a","asize":1,"dsize":1})",
                  1, 1, 2, 0, 0}),
    caseNamesByName);

struct BrokenCase {
  const char* name;
  std::string json;
  uint64_t line;
  std::string message;  // a part of it
};

class TMNcduImportBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(TMNcduImportBroken, SaysWhereAndWhy) {
  auto result = importText(GetParam().json);
  ASSERT_TRUE(std::holds_alternative<TMImportError>(result));
  const TMImportError& error = std::get<TMImportError>(result);
  EXPECT_EQ(error.line, GetParam().line) << error.text();
  EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.text();
  EXPECT_GE(error.column, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TMNcduImportBroken,
    ::testing::Values(
        BrokenCase{"empty", "", 1, "ends before"},
        BrokenCase{"truncated in a folder", kHeader + "\n[{\"name\":\"/r\"},\n{\"name\":\"f\",\"dsize\":1}", 3, "ends before"},
        BrokenCase{"truncated in a string", kHeader + "\n[{\"name\":\"/r", 2, "ends before"},
        BrokenCase{"not json", "hello", 1, "Invalid value"},
        BrokenCase{"trailing content", kHeader + R"([{"name":"/r"}]] x)", 1, "must not be followed"},
        BrokenCase{"version 2", R"([2,0,{},[{"name":"/"}]])", 1, "version 2"},
        BrokenCase{"version 0", R"([0,9,{},[{"name":"/"}]])", 1, "version 0"},
        BrokenCase{"metadata missing", R"([1,2,[{"name":"/"}]])", 1, "metadata"},
        BrokenCase{"no tree", R"([1,2,{}])", 1, "no tree"},
        BrokenCase{"root is a file", kHeader + R"({"name":"/r"}])", 1, "must be a folder"},
        BrokenCase{"name is a number", kHeader + "\n[{\"name\":\"/r\"},\n{\"name\":5}]]", 3, "must be a string"},
        BrokenCase{"dsize is a string", kHeader + R"([{"name":"/r"},{"name":"f","dsize":"5"}]])", 1, "must be a number"},
        BrokenCase{"dsize is negative", kHeader + R"([{"name":"/r"},{"name":"f","dsize":-5}]])", 1, "negative"},
        BrokenCase{"entry without a name", kHeader + R"([{"name":"/r"},{"dsize":5}]])", 1, "without a name"},
        BrokenCase{"name with a slash", kHeader + R"([{"name":"/r"},{"name":"a/b"}]])", 1, "cannot be the name"},
        BrokenCase{"name is dot dot", kHeader + R"([{"name":"/r"},[{"name":".."}]]])", 1, "cannot be the name"},
        BrokenCase{"name with a NUL", kHeader + R"([{"name":"/r"},{"name":"a\u0000b"}]])", 1, "NUL"},
        BrokenCase{"empty folder array", kHeader + R"([{"name":"/r"},[]]])", 1, "empty array"},
        // What a reader must not trust.
        BrokenCase{"value after the tree", kHeader + R"([{"name":"/r"}],true])", 1, "where an entry belongs"},
        BrokenCase{"number after the tree", kHeader + R"([{"name":"/r"}],1.5])", 1, "where an entry belongs"},
        BrokenCase{"fractional minor version", R"([1,1.5,{},[{"name":"/"}]])", 1, "two whole numbers"},
        BrokenCase{"fractional major version", R"([1.0,2,{},[{"name":"/"}]])", 1, "two whole numbers"},
        BrokenCase{"version as a string", R"([1,"2",{},[{"name":"/"}]])", 1, "where the version belongs"},
        BrokenCase{"dsize is an object", kHeader + R"([{"name":"/r"},{"name":"f","dsize":{"v":5}}]])", 1,
                   "\"dsize\" must be a number"},
        BrokenCase{"asize is an array", kHeader + R"([{"name":"/r"},{"name":"f","asize":[5]}]])", 1,
                   "\"asize\" must be a number"},
        BrokenCase{"name is an object", kHeader + R"([{"name":"/r"},{"name":{}}]])", 1, "must be a string"},
        BrokenCase{"dsize of 2^64", kHeader + R"([{"name":"/r"},{"name":"f","dsize":18446744073709551616}]])", 1,
                   "too large"},
        BrokenCase{"sizes adding past 2^64",
                   kHeader + R"([{"name":"/r"},{"name":"a","dsize":18446744073709551615},{"name":"b","dsize":1}]])",
                   1, "add up to more than 2^64"},
        BrokenCase{"name longer than 4096 bytes", kHeader + R"([{"name":"/r"},{"name":")" + std::string(4097, 'n') +
                   R"("}]])", 1, "4097 bytes"},
        BrokenCase{"raw NUL inside a name", kHeader + R"([{"name":"/r"},{"name":"a)" + std::string(1, '\0') + R"(b"}]])",
                   1, "a NUL byte"},
        BrokenCase{"raw NUL after the export", kHeader + R"([{"name":"/r"}]])" + std::string(1, '\0') + "[]", 1,
                   "a NUL byte"},
        BrokenCase{"name of 4097 escaped bytes", kHeader + R"([{"name":"/r"},{"name":")" + [] {
                     std::string escapes;
                     for (int i = 0; i < 4097; ++i) escapes += "\\udcff";
                     return escapes;
                   }() + R"("}]])", 1, "a name of more than 4096 bytes"},
        BrokenCase{"metadata string past 64 KiB",
                   R"([1,2,{"progname":")" + std::string(64 * 1024 + 1, 'p') + R"("},[{"name":"/"}]])", 1,
                   "a string of more than 65536 bytes"},
        BrokenCase{"key past 64 KiB",
                   kHeader + R"([{"name":"/r"},{")" + std::string(64 * 1024 + 1, 'k') + R"(":1}]])", 1,
                   "a string of more than 65536 bytes"},
        BrokenCase{"unknown value past 64 KiB, in escapes",
                   kHeader + R"([{"name":"/r","note":")" + [] {
                     std::string escapes;
                     for (int i = 0; i < 32769; ++i) escapes += "\\u00e9";
                     return escapes;
                   }() + R"("}]])", 1, "a string of more than 65536 bytes"},
        BrokenCase{"metadata nested 65 deep",
                   R"([1,2,{"x":)" + std::string(64, '[') + std::string(64, ']') + R"(},[{"name":"/"}]])", 1,
                   "deeper than 64"},
        BrokenCase{"unknown key nested 65 deep",
                   kHeader + R"([{"name":"/r"},{"name":"f","x":)" + std::string(65, '[') + std::string(65, ']') +
                       "}]]",
                   1, "deeper than 64"}),
    caseNamesByName);

// A string that never ends, as a tiny compressed file can hold one: the
// reading stops at its limit, and so does what is read of the file.
TEST(TMNcduImport, AStringWithoutEndIsRefusedAtItsLimitWithoutReadingOn) {
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  std::atomic<uint64_t> written{0};
  std::thread writer([&] {
    const std::string chunk(64 * 1024, 'x');
    const std::string start = "[1,2,{\"progname\":\"";
    if (::write(pipe[1], start.data(), start.size()) < 0) return;
    for (int i = 0; i < 16 * 1024; ++i) {  // a gigabyte, unless the reader stops first
      const ssize_t n = ::write(pipe[1], chunk.data(), chunk.size());
      if (n <= 0) break;
      written += uint64_t(n);
    }
    ::close(pipe[1]);
  });
  std::signal(SIGPIPE, SIG_IGN);
  std::FILE* input = ::fdopen(pipe[0], "r");
  const TMImportResult result = importNcduExport(input);
  std::fclose(input);
  writer.join();
  ASSERT_TRUE(std::holds_alternative<TMImportError>(result));
  EXPECT_NE(std::get<TMImportError>(result).message.find("a string of more than 65536 bytes"), std::string::npos);
  EXPECT_LT(written.load(), uint64_t(4) << 20);
}

TEST(TMNcduImport, ReadsATreeDeeperThanAnyStackAllows) {
  std::string json = kHeader + R"([{"name":"/deep"})";
  const int depth = 100000;
  for (int i = 0; i < depth; ++i) json += R"(,[{"name":"d"})";
  json += R"(,{"name":"f","dsize":4096})";
  json += std::string(depth + 2, ']');
  auto result = importText(json);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
  EXPECT_EQ(std::get<TMImportedScan>(result).root->diskSize(), 4096u);
  EXPECT_EQ(std::get<TMImportedScan>(result).folders, uint64_t(depth));
}

}  // namespace
}  // namespace tilemora::test
