// SPDX-License-Identifier: GPL-3.0-or-later
// What the user's choices change in a scan: hard links counted once, and
// mount points crossed; with neither, the scan counts as it always did.
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/TMCaseNames.h"
#include "support/TMFaultyFileSystem.h"
#include "support/TMPrivateMount.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

struct OptionsCase {
  std::string name;
  TMScanOptions options;
  int linkedCounted;   // how many of the two links of "linked" count
  bool mountedCounted;
};

class TMScanOptionsEffect : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(TMScanOptionsEffect, CountsWhatTheOptionsSay) {
  TMTemporaryTree tree;
  const uint64_t kept = tree.makeFile("kept", 9000);
  tree.makeFolder("sub");
  const uint64_t linked = tree.makeFile("linked", 20000);
  ASSERT_EQ(::link(tree.pathOf("linked").c_str(), tree.pathOf("sub/link").c_str()), 0);
  tree.makeFolder("mounted");
  const uint64_t big = tree.makeFile("mounted/big", 90000);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->otherDeviceEntries = {"mounted"};

  TMFinishedScan scan = scanToEnd(tree.path(), fileSystem, nullptr, GetParam().options);
  EXPECT_EQ(scan.root->diskSize(), kept + linked * uint64_t(GetParam().linkedCounted) +
                                       (GetParam().mountedCounted ? big : 0));
  // A link not counted is still there, of no size.
  EXPECT_NE(childNamed(childNamed(scan.root.get(), "sub"), "link"), nullptr);
  EXPECT_EQ(childNamed(scan.root.get(), "mounted") != nullptr, GetParam().mountedCounted);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TMScanOptionsEffect,
    ::testing::Values(OptionsCase{"defaults", {}, 2, false},
                      OptionsCase{"hard_links_once", {.hardLinksOnce = true}, 1, false},
                      OptionsCase{"mount_points_crossed", {.crossMountPoints = true}, 2, true},
                      OptionsCase{"both", {.hardLinksOnce = true, .crossMountPoints = true}, 1, true},
                      OptionsCase{"both on four threads", {true, true, 4}, 1, true}),
    caseNamesByName);

TEST(TMScanOptions, CrossingMountPointsNeverEntersAMountOfTheScannedFolderInsideItself) {
  TMTemporaryTree tree;
  const uint64_t data = tree.makeFile("data", 90000);
  tree.makeFolder("again/deeper/still");
  for (unsigned threads : {1u, 4u}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    TMScanOptions crossing;
    crossing.crossMountPoints = true;
    crossing.threads = threads;
    const std::optional<uint64_t> total = withBindMounts({{tree.path(), tree.pathOf("again/deeper")}}, [&] {
      return scanToEnd(tree.path(), TMFileSystem::posix(), nullptr, crossing).root->diskSize();
    });
    if (!total) GTEST_SKIP() << "mounting in a private namespace is not permitted here (needs CAP_SYS_ADMIN)";
    EXPECT_EQ(*total, data);
  }
}

}  // namespace
}  // namespace tilemora::test
