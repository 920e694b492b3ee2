// SPDX-License-Identifier: GPL-3.0-or-later
// Lengths beside sizes on disk: what a scan keeps, what re-measuring a tree
// does to its sizes and order (and undoes), and what a deletion, a volume
// and an export make of them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "core/filetree/TMChildListRecycler.h"
#include "core/filetree/TMFileTreeBuilder.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/filetree/TMSizeMeasure.h"
#include "core/filetree/TMVolume.h"
#include "import/TMNcduImport.h"
#include "import/TMTreeExport.h"
#include "support/TMCaseNames.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

// What `find PATH -type f -printf '%i %s\n'` says the files' lengths add up
// to: at every link, or at the first link of each inode.
uint64_t lengthsFindGives(const std::string& path, bool linksOnce) {
  const std::string command = "find '" + path + "' -type f -printf '%i %s\\n'";
  std::FILE* find = ::popen(command.c_str(), "r");
  EXPECT_NE(find, nullptr);
  uint64_t total = 0;
  std::set<unsigned long long> seen;
  unsigned long long inode = 0, length = 0;
  while (find != nullptr && std::fscanf(find, "%llu %llu", &inode, &length) == 2) {
    if (!linksOnce || seen.insert(inode).second) total += length;
  }
  if (find != nullptr) ::pclose(find);
  return total;
}

// A sparse file of 64 MiB holding one block, a file of three links, a
// folder of tiny files: lengths and blocks differ each way.
void fillMixedTree(const TMTemporaryTree& tree) {
  tree.makeFolder("sparse");
  const int file = ::open(tree.pathOf("sparse/disk.img").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::pwrite(file, "x", 1, 0), 1);
  ASSERT_EQ(::ftruncate(file, 64 << 20), 0);
  ::close(file);
  tree.makeFolder("linked");
  tree.makeFile("linked/one", 5000);
  ASSERT_EQ(::link(tree.pathOf("linked/one").c_str(), tree.pathOf("linked/two").c_str()), 0);
  ASSERT_EQ(::link(tree.pathOf("linked/one").c_str(), tree.pathOf("three").c_str()), 0);
  tree.makeFolder("tiny/deeper");
  for (int i = 0; i < 20; ++i) tree.makeFile("tiny/deeper/" + std::to_string(i), uint64_t(i + 1));
  tree.makeFile("tiny/empty");
}

struct ScanCase {
  const char* name;
  unsigned threads;
  bool linksOnce;
};

class TMApparentSizeScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(TMApparentSizeScan, AddsUpToWhatFindSaysAndReMeasuresBothWays) {
  TMTemporaryTree tree;
  fillMixedTree(tree);
  TMScanOptions options;
  options.threads = GetParam().threads;
  options.hardLinksOnce = GetParam().linksOnce;
  TMFinishedScan scan = scanToEnd(tree.path(), TMFileSystem::posix(), nullptr, options);
  TMFileTree& root = *scan.root;
  const uint64_t onDisk = root.diskSize();
  const std::vector<std::string> orderOnDisk = childNames(&root);
  EXPECT_EQ(root.alternateSize(), lengthsFindGives(tree.path(), GetParam().linksOnce));
  EXPECT_EQ(childNamed(&root, "sparse")->alternateSize(), uint64_t(64) << 20);
  EXPECT_EQ(childNamed(childNamed(&root, "tiny"), "deeper")->alternateSize(), 210u);

  remeasureTree(root, TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength);
  EXPECT_EQ(root.diskSize(), lengthsFindGives(tree.path(), GetParam().linksOnce));
  EXPECT_EQ(allocatedSizeOf(root, TMSizeMeasure::kLength), onDisk);
  EXPECT_EQ(lengthOf(root, TMSizeMeasure::kLength), root.diskSize());
  // By length the sparse image is the largest child, and every list is in order.
  EXPECT_EQ(childNames(&root).front(), "sparse");
  for (const TMFileTree* folder : {static_cast<const TMFileTree*>(&root), childNamed(&root, "tiny"), childNamed(childNamed(&root, "tiny"), "deeper")}) {
    const std::vector<const TMFileTree*> children = childrenOf(folder);
    EXPECT_TRUE(std::is_sorted(children.begin(), children.end(),
                               [](auto* a, auto* b) { return a->diskSize() > b->diskSize(); }))
        << folder->filename();
  }
  remeasureTree(root, TMSizeMeasure::kLength, TMSizeMeasure::kOnDisk);
  EXPECT_EQ(root.diskSize(), onDisk);
  EXPECT_EQ(childNames(&root), orderOnDisk);
}

INSTANTIATE_TEST_SUITE_P(Scans, TMApparentSizeScan,
                         ::testing::Values(ScanCase{"every link, default threads", 0, false},
                                           ScanCase{"links once, default threads", 0, true},
                                           ScanCase{"links once, one thread", 1, true}),
                         caseNamesByName);

// A file's other size kept in 4 bytes: exact for whole blocks, as sizes on
// disk and sparse images are; else, far from the size, rounded up to a
// block (to a MiB beyond 512 GiB).
struct CodeCase {
  const char* name;
  uint64_t other;
  uint64_t size;
  uint64_t readBack;
};

class TMOtherSize : public ::testing::TestWithParam<CodeCase> {};

TEST_P(TMOtherSize, ComesBackFromItsFourBytes) {
  TMFileTreeBuilder builder("root");
  builder.addFileWithLength("f", GetParam().size, GetParam().other);
  std::shared_ptr<TMFileTree> root = builder.finish();
  const TMFileTree& file = *childrenOf(root.get()).front();
  EXPECT_EQ(file.alternateSize(), GetParam().readBack);
  EXPECT_EQ(root->alternateSize(), GetParam().readBack);  // a folder's: its files' sum
}

constexpr uint64_t kGiB = uint64_t(1) << 30;
INSTANTIATE_TEST_SUITE_P(
    Sizes, TMOtherSize,
    ::testing::Values(CodeCase{"the slack of a last block", 10, 4096, 10}, CodeCase{"equal", 4096, 4096, 4096},
                      CodeCase{"a sparse gap just under a GiB", kGiB - 1 + 4096, 4096, kGiB - 1 + 4096},
                      CodeCase{"a sparse image of whole blocks far away", 100 * kGiB, 4096, 100 * kGiB},
                      CodeCase{"a far size of no whole block", 3 * kGiB + 1, 0, 3 * kGiB + 512},
                      CodeCase{"a far size below what it is told from", 1, 5 * kGiB + 7, 512},
                      CodeCase{"a length beyond 512 GiB, whole MiBs", 600 * kGiB, 4096, 600 * kGiB},
                      CodeCase{"a length beyond 512 GiB, rounded up", 600 * kGiB + 1, 4096, 600 * kGiB + (1 << 20)}),
    caseNamesByName);

// A tree of given lengths and sizes on disk, built as a saved scan is.
std::shared_ptr<TMFileTree> builtTree() {
  TMFileTreeBuilder builder("root");
  builder.enterFolder("dense");
  builder.addFileWithLength("a", 8192, 8000);
  builder.addFileWithLength("b", 4096, 10);
  builder.leaveFolder();
  builder.enterFolder("sparse");
  builder.addFileWithLength("image", 4096, 1 << 20);
  builder.leaveFolder();
  return builder.finish();
}

TEST(TMSizeMeasure, ADeletionLowersBothSizesAboveWhateverTheMeasure) {
  for (TMSizeMeasure measure : {TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength}) {
    std::shared_ptr<TMFileTree> root = builtTree();
    remeasureTree(*root, TMSizeMeasure::kOnDisk, measure);
    const TMFileTreePath path = TMFileTreePath::resolve(*root, {"/", "root", "dense", "a"}, 1);
    ASSERT_EQ(TMFileTree::deleteNodeOnPath(path, [](const TMFileURL&) { return TMTrashResult{true, {}}; }).code,
              int32_t(DeletionUpdated));
    EXPECT_EQ(allocatedSizeOf(*root, measure), 8192u);
    EXPECT_EQ(lengthOf(*root, measure), 10u + (1 << 20));
    EXPECT_EQ(lengthOf(*childNamed(root.get(), "dense"), measure), 10u);
  }
}

TEST(TMSizeMeasure, AVolumeLeavesItsSpaceAsItIsAndDividesWhatItShows) {
  TMNodeArena arena;
  TMChildListRecycler recycler;
  auto* volume = TMFileTree::create<TMVolume>(arena, "disk");
  TMFolderTree* folder = volume->measure(arena, {100000, 30000});
  auto* file = TMFileTree::create<TMFileTree>(arena, "f", 50000);
  file->setAlternateSize(2000);
  folder->appendChild(file, arena, recycler);
  folder->addToDiskSize(50000);
  std::vector<uint64_t> scratch;
  folder->finishChildList(arena, recycler, TMChildOrder::kLargestFirst, scratch);
  ASSERT_EQ(volume->unscannedSizeNow(), 20000u);

  remeasureTree(*volume, TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength);
  EXPECT_EQ(folder->diskSize(), 2000u);
  // The used space the scan did not reach is still counted in blocks.
  EXPECT_EQ(volume->unscannedSizeNow(), 20000u);
  EXPECT_DOUBLE_EQ(volume->advancementPercentage(), 50000.0 / 70000.0);
  EXPECT_EQ(volume->shownSize(), 2000u + 30000u + 20000u);
  remeasureTree(*volume, TMSizeMeasure::kLength, TMSizeMeasure::kOnDisk);
  EXPECT_EQ(volume->shownSize(), 100000u);
  recycler.reclaimIfUnread();
}

// An export keeps both sizes, whichever the tree is measured by, and reads
// back as it was.
TEST(TMSizeMeasure, AnExportWritesBothSizesAndReadsBackTheSame) {
  for (TMSizeMeasure measure : {TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength}) {
    std::shared_ptr<TMFileTree> root = builtTree();
    remeasureTree(*root, TMSizeMeasure::kOnDisk, measure);
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    TMTreeExportHeader header{"/root", "tilemora", "1", 0, {}, measure};
    ASSERT_TRUE(writeTreeExport(*root, header, out));
    std::fclose(out);
    const std::string json(text, size);
    std::free(text);
    EXPECT_NE(json.find(R"("name":"image","asize":1048576,"dsize":4096)"), std::string::npos) << json;
    std::FILE* in = ::fmemopen(const_cast<char*>(json.data()), json.size(), "r");
    TMImportResult result = importNcduExport(in);
    std::fclose(in);
    ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result));
    const TMImportedScan& scan = std::get<TMImportedScan>(result);
    EXPECT_EQ(scan.root->diskSize(), 16384u);
    EXPECT_EQ(scan.root->alternateSize(), 8010u + (1 << 20));
    EXPECT_EQ(scan.filesWithoutLength + scan.filesWithoutAllocatedSize, 0u);
  }
}

}  // namespace
}  // namespace tilemora::test
