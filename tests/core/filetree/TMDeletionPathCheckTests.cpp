// SPDX-License-Identifier: GPL-3.0-or-later
// The check that an item's path still leads through the scanned tree before
// it goes to the trash, on a real tree changed after the "scan".

#include "core/filetree/TMDeletionPathCheck.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <functional>

#include "support/TMCaseNames.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

struct PathChangeCase {
  const char* name;
  std::function<void(const TMTemporaryTree&)> change;  // made after the scan
  std::string item;                                     // below the root
  std::string reasonContains;                           // empty: the path is sound
};
class TMDeletionPathCheck : public ::testing::TestWithParam<PathChangeCase> {};

TEST_P(TMDeletionPathCheck, RefusesPathsThatLeaveTheScannedTree) {
  TMTemporaryTree tree;
  tree.makeFolder("root/sub/mid");
  tree.makeFile("root/sub/mid/file", 10);
  tree.makeFolder("elsewhere/mid");
  tree.makeSymlink("root/link", "../elsewhere");
  if (GetParam().change) GetParam().change(tree);
  const TMFileURL root = TMFileURL::fromPath(tree.pathOf("root"));
  const std::optional<std::string> reason =
      reasonPathChanged(*TMFileSystem::posix(), root, TMFileURL::fromPath(tree.pathOf(GetParam().item)));
  if (GetParam().reasonContains.empty()) {
    EXPECT_EQ(reason, std::nullopt);
  } else {
    ASSERT_TRUE(reason.has_value());
    EXPECT_NE(reason->find(GetParam().reasonContains), std::string::npos) << *reason;
  }
}

void swapForLink(const TMTemporaryTree& tree) {
  ASSERT_EQ(::rename(tree.pathOf("root/sub").c_str(), tree.pathOf("root/sub.orig").c_str()), 0);
  tree.makeSymlink("root/sub", "../elsewhere");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TMDeletionPathCheck,
    ::testing::Values(
        PathChangeCase{"unchanged", nullptr, "root/sub/mid/file", ""},
        PathChangeCase{"the root itself", nullptr, "root", ""},
        PathChangeCase{"a link as the item itself", nullptr, "root/link", ""},
        PathChangeCase{"a folder swapped for a link", swapForLink, "root/sub/mid", "/root/sub has changed"},
        PathChangeCase{"a folder swapped for a file",
                       [](const TMTemporaryTree& t) {
                         TMTemporaryTree::removeRecursively(AT_FDCWD, t.pathOf("root/sub/mid").c_str());
                         t.makeFile("root/sub/mid", 1);
                       },
                       "root/sub/mid/file", "/root/sub/mid has changed"},
        PathChangeCase{"a folder gone", [](const TMTemporaryTree& t) {
                         TMTemporaryTree::removeRecursively(AT_FDCWD, t.pathOf("root/sub").c_str());
                       },
                       "root/sub/mid/file", "/root/sub has changed"},
        PathChangeCase{"an item outside", nullptr, "elsewhere/mid", "not inside the scanned folder"}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
