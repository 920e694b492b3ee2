// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>

#include "core/filetree/TMUtf8.h"
#include "support/TMCaseNames.h"
#include "support/TMFaultyFileSystem.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMPrivateMount.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

// Odd trees, run with one thread and with the program's default.
class TMFolderScan : public ::testing::TestWithParam<unsigned> {
 protected:
  TMFinishedScan scanned(const std::string& path, std::shared_ptr<TMFileSystem> fileSystem = TMFileSystem::posix(),
                         std::function<void(const TMFileTree*)> onNotice = nullptr) const {
    TMScanOptions options;
    options.threads = GetParam();
    return scanToEnd(path, std::move(fileSystem), std::move(onNotice), options);
  }
};

TEST_P(TMFolderScan, SumsAllocatedSizesSortsLargestFirstAndNotifiesEachEntry) {
  TMTemporaryTree tree;
  tree.makeFile("small", 10);
  tree.makeFolder("empty");
  tree.makeFolder("full");
  tree.makeFile("full/eight", 8192);
  tree.makeFile("full/four", 4096);

  TMFinishedScan scan = scanned(tree.path());
  EXPECT_EQ(scan.root->diskSize(), 16384u);
  EXPECT_EQ(childNames(scan.root.get()), (std::vector<std::string>{"full", "small", "empty"}));
  EXPECT_EQ(childNamed(scan.root.get(), "full")->diskSize(), 12288u);
  EXPECT_EQ(childNamed(scan.root.get(), "small")->diskSize(), 4096u);
  EXPECT_EQ(childNamed(scan.root.get(), "empty")->diskSize(), 0u);
  EXPECT_EQ(childNames(childNamed(scan.root.get(), "full")),
            (std::vector<std::string>{"eight", "four"}));
  EXPECT_EQ(scan.receiver->count(), 5u);
  EXPECT_EQ(scan.endNotices, 1);
  EXPECT_EQ(scan.noticesAtEnd, 5u);
}

// Children end largest first, and equal sizes in the order they were
// listed, whichever way a folder is sorted (by keys, or in place through its
// nodes when a size is too big for a key or the folder too big for keys),
// and with one thread or several.
struct ChildOrderCase {
  const char* name;
  std::vector<uint64_t> blocks;  // of the files f0, f1, … as listed
};

std::vector<uint64_t> pseudoRandomBlocks(size_t count, uint64_t modulus) {
  std::vector<uint64_t> blocks(count);
  uint64_t state = 20261208;
  for (uint64_t& b : blocks) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    b = (state >> 33) % modulus;
  }
  return blocks;
}

class TMFolderScanChildOrder : public ::testing::TestWithParam<std::tuple<ChildOrderCase, unsigned>> {};

TEST_P(TMFolderScanChildOrder, LargestFirstAndEqualSizesInListingOrder) {
  const auto& [c, threads] = GetParam();
  std::vector<TMMemoryEntry> files;
  for (size_t i = 0; i < c.blocks.size(); ++i) files.push_back(TMMemoryEntry::file("f" + std::to_string(i), c.blocks[i]));
  // A sibling folder, so that several threads have something to share.
  TMMemoryEntry root = TMMemoryEntry::directory("R", {TMMemoryEntry::directory("F", files),
                                                      TMMemoryEntry::directory("G", {TMMemoryEntry::file("g", 1)})});
  TMScanOptions options;
  options.threads = threads;
  TMFinishedScan scan = scanToEnd("/R", std::make_shared<TMMemoryFileSystem>(root), nullptr, options);
  std::vector<size_t> expected(c.blocks.size());
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = i;
  std::stable_sort(expected.begin(), expected.end(), [&](size_t a, size_t b) { return c.blocks[a] > c.blocks[b]; });
  std::vector<std::string> names;
  for (size_t i : expected) names.push_back("f" + std::to_string(i));
  EXPECT_EQ(childNames(childNamed(scan.root.get(), "F")), names);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, TMFolderScanChildOrder,
    ::testing::Combine(
        ::testing::Values(ChildOrderCase{"ties", {5, 7, 5, 7, 0, 7, 0}},
                          ChildOrderCase{"sizes of two tebibytes and more", {3, 1ull << 33, (1ull << 32) - 1, 3,
                                                                             (1ull << 33) + 1, 1ull << 32}},
                          ChildOrderCase{"two tebibytes and one block less", {3, 1ull << 32, (1ull << 32) - 1, 5}},
                          ChildOrderCase{"five thousand children with many ties", pseudoRandomBlocks(5000, 100)},
                          ChildOrderCase{"too many children for sort keys", pseudoRandomBlocks(70000, 100)}),
        ::testing::Values(1u, 3u)),
    [](const auto& info) {
      return identifierFrom(std::get<0>(info.param).name) + "_" + std::to_string(std::get<1>(info.param)) + "Threads";
    });

TEST_P(TMFolderScan, SkipsSymbolicLinksIncludingLoops) {
  TMTemporaryTree tree;
  uint64_t size = tree.makeFile("real", 100000);
  tree.makeSymlink("to-root", tree.path());
  tree.makeSymlink("to-file", "real");
  tree.makeSymlink("loop-a", "loop-b");
  tree.makeSymlink("loop-b", "loop-a");
  tree.makeSymlink("dangling", "nowhere");
  tree.makeFolder("sub");
  tree.makeSymlink("sub/up", "..");

  TMFinishedScan scan = scanned(tree.path());
  EXPECT_EQ(scan.root->diskSize(), size);
  EXPECT_EQ(childNames(scan.root.get()), (std::vector<std::string>{"real", "sub"}));
  EXPECT_EQ(scan.receiver->count(), 2u);
}

TEST_P(TMFolderScan, CountsHiddenEntriesAndSpecialFilesWithoutOpeningThem) {
  TMTemporaryTree tree;
  uint64_t hidden = tree.makeFile(".hidden", 5000);
  tree.makeFifo("pipe");  // opening it would block the scan forever
  tree.makeSocket("socket");
  int expectedNotices = 3;
  if (::geteuid() == 0) {
    ASSERT_EQ(::mknod(tree.pathOf("device").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    ++expectedNotices;
  }
  TMFinishedScan scan = scanned(tree.path());
  EXPECT_EQ(scan.root->diskSize(), hidden);
  EXPECT_EQ(scan.receiver->count(), uint64_t(expectedNotices));
  EXPECT_NE(childNamed(scan.root.get(), "pipe"), nullptr);
  EXPECT_NE(childNamed(scan.root.get(), "socket"), nullptr);
}

TEST_P(TMFolderScan, KeepsOddNamesAsRawBytes) {
  TMTemporaryTree tree;
  const std::vector<std::string> names{"line\nbreak", "bad\xFF\xFE" "bytes", std::string(255, 'L'),
                                       "quote\"pipe|brace{", " leading blank", "-dash"};
  uint64_t total = 0;
  for (const std::string& name : names) total += tree.makeFile(name, 1);
  TMFinishedScan scan = scanned(tree.path());
  EXPECT_EQ(scan.root->diskSize(), total);
  for (const std::string& name : names)
    EXPECT_NE(childNamed(scan.root.get(), name), nullptr) << printableName(name);
}

TEST_P(TMFolderScan, DescendsBelowPathMax) {
  TMTemporaryTree tree;
  const std::string level(200, 'd');
  int directory = ::open(tree.path().c_str(), O_RDONLY | O_DIRECTORY);
  const int depth = 2 * PATH_MAX / int(level.size() + 1);  // twice as long as PATH_MAX allows
  for (int i = 0; i < depth; ++i) {
    ASSERT_EQ(::mkdirat(directory, level.c_str(), 0755), 0);
    int next = ::openat(directory, level.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(directory);
    directory = next;
  }
  int file = ::openat(directory, "bottom", O_WRONLY | O_CREAT, 0644);
  ASSERT_EQ(::write(file, "data", 4), 4);
  ::fsync(file);
  struct stat info {};
  ::fstat(file, &info);
  ::close(file);
  ::close(directory);

  TMFinishedScan scan = scanned(tree.path());
  EXPECT_EQ(scan.root->diskSize(), uint64_t(info.st_blocks) * 512);
  EXPECT_EQ(scan.receiver->count(), uint64_t(depth) + 1);
  const TMFileTree* node = scan.root.get();
  for (int i = 0; i < depth; ++i) node = childNamed(node, level);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(childNames(node), std::vector<std::string>{"bottom"});
}

// One thread is the tree's only writer: each notice finds the sizes whole.
// (Several threads add what they found above their branch in batches.)
TEST(TMOneThreadScan, KeepsEveryFolderSizeEqualToItsChildrenAfterEachNotice) {
  TMTemporaryTree tree;
  for (int i = 0; i < 6; ++i) {
    tree.makeFolder("a" + std::to_string(i) + "/b");
    tree.makeFile("a" + std::to_string(i) + "/f", 3000 * i);
    tree.makeFile("a" + std::to_string(i) + "/b/g", 7000);
  }
  int checks = 0;
  int mismatches = 0;
  TMScanOptions oneThread;
  oneThread.threads = 1;
  // The notice runs on the scan thread, the tree's only writer, so it may read freely.
  TMFinishedScan scan = scanToEnd(tree.path(), TMFileSystem::posix(), [&](const TMFileTree* root) {
    if (root == nullptr) return;
    uint64_t sum = 0;
    for (const TMFileTree* child : childrenOf(root)) sum += child->diskSize();
    ++checks;
    if (sum != root->diskSize()) ++mismatches;
  }, oneThread);
  EXPECT_GT(checks, 0);
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(scan.receiver->count(), 24u);
}

TEST_P(TMFolderScan, AnUnreadableFolderCountsEmpty) {
  TMTemporaryTree tree;
  uint64_t outside = tree.makeFile("outside", 4096);
  tree.makeFolder("locked");
  tree.makeFile("locked/inside", 50000);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->unopenableFolders = {"locked"};

  TMFinishedScan scan = scanned(tree.path(), fileSystem);
  const TMFileTree* locked = childNamed(scan.root.get(), "locked");
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(locked->diskSize(), 0u);
  EXPECT_EQ(childrenOf(locked).size(), 0u);
  EXPECT_EQ(scan.root->diskSize(), outside);
  EXPECT_EQ(scan.receiver->count(), 2u);
}

TEST_P(TMFolderScan, AFolderUnreadableByTheUserCountsEmpty) {
  TMTemporaryTree tree;
  ASSERT_EQ(::chmod(tree.path().c_str(), 0755), 0);
  uint64_t outside = tree.makeFile("outside", 4096);
  tree.makeFolder("locked");
  tree.makeFile("locked/inside", 50000);
  ASSERT_EQ(::chmod(tree.pathOf("locked").c_str(), 0), 0);

  // Root reads everything: scan as an unprivileged user in a child process.
  int results[2];
  ASSERT_EQ(::pipe(results), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    uint64_t report[2] = {};
    {
      // Gone (its thread waited for) before the child ends.
      TMFinishedScan scan = scanned(tree.path());
      report[0] = scan.root->diskSize();
      report[1] = scan.receiver->count();
    }
    ::_exit(::write(results[1], report, sizeof report) == sizeof report ? 0 : 4);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  uint64_t report[2] = {};
  ASSERT_EQ(::read(results[0], report, sizeof report), ssize_t(sizeof report));
  ::close(results[0]);
  ::close(results[1]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(report[0], outside);
  EXPECT_EQ(report[1], 2u);
}

TEST_P(TMFolderScan, EntriesThatVanishBeforeTheirStatCountNothing) {
  TMTemporaryTree tree;
  uint64_t kept = tree.makeFile("kept", 9000);
  tree.makeFile("ghost", 70000);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->vanishingEntries = {"ghost"};
  TMFinishedScan scan = scanned(tree.path(), fileSystem);
  EXPECT_EQ(scan.root->diskSize(), kept);
  ASSERT_NE(childNamed(scan.root.get(), "ghost"), nullptr);
  EXPECT_EQ(childNamed(scan.root.get(), "ghost")->diskSize(), 0u);
}

TEST_P(TMFolderScan, AFolderRemovedWhileTheScanRunsCountsWhatWasFound) {
  TMTemporaryTree tree;
  uint64_t kept = tree.makeFile("kept", 9000);
  tree.makeFolder("doomed/deeper");
  tree.makeFile("doomed/deeper/file", 20000);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->beforeOpeningFolder = [&](int, const char* name) {
    if (std::string_view(name) != "doomed") return;
    int parent = ::open(tree.path().c_str(), O_RDONLY | O_DIRECTORY);
    TMTemporaryTree::removeRecursively(parent, "doomed");
    ::close(parent);
  };
  TMFinishedScan scan = scanned(tree.path(), fileSystem);
  EXPECT_EQ(scan.root->diskSize(), kept);
  const TMFileTree* doomed = childNamed(scan.root.get(), "doomed");
  ASSERT_NE(doomed, nullptr);
  EXPECT_EQ(childrenOf(doomed).size(), 0u);
}

// A mount point is found by its device or, for a bind mount of the same
// file system, by the mount itself.
struct TMMountCase {
  std::string name;
  bool otherDevice;
  bool mountRoot;
};

class TMFolderScanMounts : public ::testing::TestWithParam<TMMountCase> {};

TEST_P(TMFolderScanMounts, SkipsMountPoints) {
  TMTemporaryTree tree;
  uint64_t kept = tree.makeFile("kept", 9000);
  tree.makeFolder("mounted");
  tree.makeFile("mounted/big", 90000);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  if (GetParam().otherDevice) fileSystem->otherDeviceEntries = {"mounted"};
  if (GetParam().mountRoot) fileSystem->mountRootEntries = {"mounted"};
  TMFinishedScan scan = scanToEnd(tree.path(), fileSystem);
  EXPECT_EQ(scan.root->diskSize(), kept);
  EXPECT_EQ(childNames(scan.root.get()), std::vector<std::string>{"kept"});
  EXPECT_EQ(scan.receiver->count(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TMFolderScanMounts,
                         ::testing::Values(TMMountCase{"another_device", true, false},
                                           TMMountCase{"bind_mount_of_the_same_device", false, true}),
                         caseNamesByName);

TEST_P(TMFolderScan, SkipsARealBindMountInsideTheScannedFolder) {
  TMTemporaryTree tree;
  tree.makeFolder("data");
  uint64_t data = tree.makeFile("data/big", 90000);
  tree.makeFolder("again");
  const std::optional<uint64_t> total = withBindMounts({{tree.pathOf("data"), tree.pathOf("again")}},
                                                       [&] { return scanned(tree.path()).root->diskSize(); });
  if (!total) GTEST_SKIP() << "mounting in a private namespace is not permitted here (needs CAP_SYS_ADMIN)";
  EXPECT_EQ(*total, data);
}

TEST_P(TMFolderScan, AMissingOrPlainFileRootGivesAnEmptyFolder) {
  TMTemporaryTree tree;
  tree.makeFile("plain", 100);
  for (const std::string& path : {tree.pathOf("missing"), tree.pathOf("plain")}) {
    TMFinishedScan scan = scanned(path);
    EXPECT_EQ(scan.root->diskSize(), 0u);
    EXPECT_EQ(childrenOf(scan.root.get()).size(), 0u);
    EXPECT_EQ(scan.receiver->count(), 0u);
    EXPECT_EQ(scan.endNotices, 1);
  }
}

// Many times what one listing call returns, and past every 16-bit count.
TEST_P(TMFolderScan, HandlesSeventyThousandEntriesInOneFolder) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  tree.makeFolder("crowd");
  int directory = ::open(tree.pathOf("crowd").c_str(), O_RDONLY | O_DIRECTORY);
  const int count = 70000;
  char name[16];
  for (int i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "%07d", i);
    int file = ::openat(directory, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    if (i % 1000 == 0) {
      ASSERT_EQ(::write(file, "x", 1), 1);
    }
    ::close(file);
  }
  ::syncfs(directory);
  ::close(directory);
  TMFinishedScan scan = scanned(tree.path());
  const TMFileTree* crowd = childNamed(scan.root.get(), "crowd");
  ASSERT_NE(crowd, nullptr);
  EXPECT_EQ(crowd->asFolder()->childCount(), uint64_t(count));
  EXPECT_EQ(scan.receiver->count(), uint64_t(count) + 1);
  EXPECT_EQ(scan.root->diskSize(), tree.allocatedSize("crowd/0000000") * (count / 1000));
  std::vector<const TMFileTree*> children = childrenOf(crowd);
  EXPECT_TRUE(std::is_sorted(children.begin(), children.end(), [](auto* a, auto* b) {
    return TmFileTreeComparer(*a, *b) < 0;
  }));
}

INSTANTIATE_TEST_SUITE_P(Threads, TMFolderScan, ::testing::Values(1u, 0u), caseNamesByThreads);

}  // namespace
}  // namespace tilemora::test
