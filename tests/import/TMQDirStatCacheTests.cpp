// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/TMQDirStatCache.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/filetree/TMFolderTree.h"
#include "import/TMNcduImport.h"
#include "support/TMCaseNames.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

TMImportResult importCache(const std::string& text) {
  std::FILE* input = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  TMImportResult result = importNcduExport(input);
  std::fclose(input);
  return result;
}

// The tree as "name:size/length" for files and "name/" for folders, depth
// first, children in the order the tree keeps them.
void describeCacheTree(const TMFileTree* node, const std::string& indent, std::string& into) {
  for (const TMFileTree* child : childrenOf(node)) {
    (into += indent).append(child->filename());
    if (child->asFolder() != nullptr) {
      into += "/\n";
      describeCacheTree(child, indent + " ", into);
    } else {
      into += ":" + std::to_string(child->diskSize()) + "/" + std::to_string(child->alternateSize()) + "\n";
    }
  }
}

const char* const kCacheHeader = "[qdirstat 1.0 cache file]\n# Do not edit!\n#\n";

struct ReadCase {
  const char* name;
  std::string lines;  // after the header
  std::string tree;   // as describeCacheTree() writes it
  std::vector<std::string> root;
  uint64_t files;
  uint64_t folders;
  uint64_t withoutAllocatedSize;
};

class TMQDirStatCacheReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TMQDirStatCacheReading, ReadsTheTreeWithLengthsStandingInForSizesOnDisk) {
  const ReadCase& c = GetParam();
  TMImportResult result = importCache(kCacheHeader + c.lines);
  const auto* error = std::get_if<TMImportError>(&result);
  ASSERT_EQ(error, nullptr) << error->text();
  const TMImportedScan& scan = std::get<TMImportedScan>(result);
  std::string tree;
  describeCacheTree(scan.root.get(), "", tree);
  EXPECT_EQ(tree, c.tree);
  EXPECT_EQ(scan.rootComponents, c.root);
  EXPECT_EQ(scan.files, c.files);
  EXPECT_EQ(scan.folders, c.folders);
  EXPECT_EQ(scan.filesWithoutAllocatedSize, c.withoutAllocatedSize);
  EXPECT_EQ(scan.filesWithoutLength, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Caches, TMQDirStatCacheReading,
    ::testing::Values(
        ReadCase{"names relative to the folder last given, hexadecimal and decimal times",
                 "D /srv/t\t4096\t0x43aea3d3\nF\tone\t300\t0x43ae9a3b\nF two 200 1136564794\n"
                 "D /srv/t/sub\t4096\t0x1\nF\tthree\t1000\t0x1\n",
                 "sub/\n three:1000/1000\none:300/300\ntwo:200/200\n", {"/", "srv", "t"}, 3, 1, 3},
        ReadCase{"URL-encoded names: blanks, percent signs, bytes that are not UTF-8",
                 "D /t%20x\t0\t0\nF\ta%20b\t1\t0\nF\tc%25d\t2\t0\nF\tn%E9\t3\t0\nF\tbad%zz\t4\t0\n",
                 "bad%zz:4/4\nn\xE9:3/3\nc%d:2/2\na b:1/1\n", {"/", "t x"}, 4, 0, 4},
        ReadCase{"units of whole KiB, MiB and GiB, either case",
                 "D /t 0 0\nF k 2K 0\nF m 3m 0\nF g 1G 0\n",
                 "g:1073741824/1073741824\nm:3145728/3145728\nk:2048/2048\n", {"/", "t"}, 3, 0, 3},
        ReadCase{"blocks give a sparse file's size on disk; links are passed over",
                 "D /t 0 0\nF sparse 1048576 0 blocks: 8\nF linked 10 0 LINKS: 2\nF both 4096 0 links: 3 Blocks: 16\n",
                 "both:8192/4096\nsparse:4096/1048576\nlinked:10/10\n", {"/", "t"}, 3, 0, 1},
        ReadCase{"symbolic links left out, special files counted, the types in any case",
                 "D /t 0 0\nL\tlink\t3\t0\nfifo\tpipe\t0\t0\nSOCKET\tsock\t0\t0\nCharDev\ttty\t0\t0\nf\tfile\t5\t0\n",
                 "file:5/5\npipe:0/0\nsock:0/0\ntty:0/0\n", {"/", "t"}, 4, 0, 4},
        ReadCase{"full paths for files, and folders that leave one to enter another",
                 "D /t 0 0\nD /t/a 0 0\nF /t/a/x 7 0\nD /t/a/deep 0 0\nF y 1 0\nF /t/a/late 3 0\nD /t/b 0 0\n"
                 "F /t/top 2 0\n",
                 "a/\n x:7/7\n late:3/3\n deep/\n  y:1/1\ntop:2/2\nb/\n", {"/", "t"}, 4, 3, 4},
        ReadCase{"a folder below one never given opens the folders between",
                 "D / 0 0\nD /a/b/c 0 0\nF f 9 0\n", "a/\n b/\n  c/\n   f:9/9\n", {"/"}, 1, 3, 1},
        ReadCase{"blank lines, comments, blanks before them, a carriage return at each end",
                 "\r\n  # comment\r\nD /t 0 0\r\n\t\r\n F f 1 0\r\n", "f:1/1\n", {"/", "t"}, 1, 0, 1},
        ReadCase{"an older writer's name and no line end at the last line", "D /t 0 0\nF f 1 0",
                 "f:1/1\n", {"/", "t"}, 1, 0, 1}),
    [](const auto& info) { return identifierFrom(info.param.name); });

TEST(TMQDirStatCacheReading, AnOlderWritersFirstLineIsReadToo) {
  TMImportResult result = importCache("[kdirstat 1.0 cache file]\nD /t 0 0\nF f 1 0\n");
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result));
  EXPECT_EQ(std::get<TMImportedScan>(result).files, 1u);
}

struct RefusalCase {
  const char* name;
  std::string text;  // the whole file
  uint64_t line;
  uint64_t column;
  std::string message;
};

class TMQDirStatCacheRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TMQDirStatCacheRefusal, SaysWhereAndWhyAndGivesNoTree) {
  const RefusalCase& c = GetParam();
  TMImportResult result = importCache(c.text);
  const auto* error = std::get_if<TMImportError>(&result);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->line, c.line);
  EXPECT_EQ(error->column, c.column);
  EXPECT_EQ(error->message, c.message);
}

const std::string kRoot = std::string(kCacheHeader) + "D /t 0 0\n";  // lines 1 to 4

INSTANTIATE_TEST_SUITE_P(
    Caches, TMQDirStatCacheRefusal,
    ::testing::Values(
        RefusalCase{"a first line that is not the header", "[qdirstat 1.0 something]\nD /t 0 0\n", 1, 1,
                    "a cache file must begin with \"[qdirstat 1.0 cache file]\""},
        RefusalCase{"no folder at all", kCacheHeader, 4, 1, "the cache file lists no folder"},
        RefusalCase{"a file before the first folder", std::string(kCacheHeader) + "F f 1 0\n", 4, 1,
                    "the first entry must be the scanned folder, given by its full path"},
        RefusalCase{"too few fields", kRoot + "F f 1\n", 5, 1, "a line must give a type, a path, a size and a time"},
        RefusalCase{"an unknown type", kRoot + "X f 1 0\n", 5, 1, "\"X\" is not a kind of entry"},
        RefusalCase{"a size with a fraction", kRoot + "F f 1.5K 0\n", 5, 5, "\"1.5K\" is not a size"},
        RefusalCase{"a size past 2^64", kRoot + "F f 17179869184G 0\n", 5, 5, "\"17179869184G\" is not a size"},
        RefusalCase{"a time that is no number", kRoot + "F f 1 yesterday\n", 5, 7, "\"yesterday\" is not a time"},
        RefusalCase{"blocks: without a number", kRoot + "F f 1 0 blocks:\n", 5, 9,
                    "\"blocks:\" must be followed by a number"},
        RefusalCase{"links: with no number but a word", kRoot + "F f 1 0 links: many\n", 5, 9,
                    "\"links:\" must be followed by a number"},
        RefusalCase{"a NUL byte in a name", kRoot + "F a%00b 1 0\n", 5, 3, "a name cannot hold a NUL character"},
        RefusalCase{"a name with a slash encoded", kRoot + "F a%2Fb 1 0\n", 5, 3,
                    "\"a/b\" cannot be the name of an entry"},
        RefusalCase{"a folder given by its name", kRoot + "D sub 0 0\n", 5, 3, "a folder must be given by its full path"},
        RefusalCase{"a folder outside the scanned one", kRoot + "D /u 0 0\n", 5, 3,
                    "\"/u\" is not inside the scanned folder"},
        RefusalCase{"a folder given again once left", kRoot + "D /t/a 0 0\nD /t/b 0 0\nF /t/a/f 1 0\n", 7, 3,
                    "\"/t/a/f\" lies in a folder given before other folders: only a cache file that gives each "
                    "folder's entries together can be read"},
        RefusalCase{"a path through \"..\"", kRoot + "D /t/../x 0 0\n", 5, 3,
                    "\"..\" cannot be the name of a folder"},
        RefusalCase{"sizes adding up past 2^64", kRoot + "F a 16G 0 blocks: 36028797018963967\nF b 16G 0 blocks: 2\n",
                    6, 5, "the sizes add up to more than 2^64 bytes"},
        RefusalCase{"a line longer than any a cache file holds",
                    kRoot + "F " + std::string(kLongestCacheLine, 'n') + " 1 0\n", 5, kLongestCacheLine + 1,
                    "a line of more than " + std::to_string(kLongestCacheLine) + " bytes"}),
    [](const auto& info) { return identifierFrom(info.param.name); });

}  // namespace
}  // namespace tilemora::test
