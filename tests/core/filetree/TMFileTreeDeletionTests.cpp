// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting from the file tree: the walk by path, the trash before any
// change, the unlinking and the sizes lowered on the path.

#include <gtest/gtest.h>

#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"
#include "support/TMCaseNames.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;
const std::string kOddName = "odd\xFF\nname";

// R (30 blocks): A (20, holding a1 of 20), b (10), and an empty file with
// an awkward name.
std::shared_ptr<TMFileTree> scanR() {
  return scanToEnd("/R", std::make_shared<TMMemoryFileSystem>(E::directory(
                             "R", {E::directory("A", {E::file("a1", 20)}), E::file("b", 10),
                                   E::file(kOddName, 0)})))
      .root;
}

std::vector<std::string> namesOf(const TMFileTree& folder) {
  std::vector<std::string> names;
  const TMChildList* list = folder.asFolder()->children();
  for (uint32_t i = 0; list && i < list->count(); ++i) names.emplace_back(list->at(i)->filename());
  return names;
}

struct DeletionCase {
  const char* name;
  std::string path;
  std::string refusal;  // the trash refuses with this reason, when given
  int32_t code;
  std::string node;     // the node answered, "" for none
  uint64_t rootBlocks, folderABlocks;
  std::vector<std::string> rootChildren;
};

class TMFileTreeDeletion : public ::testing::TestWithParam<DeletionCase> {};

TEST_P(TMFileTreeDeletion, TrashesThenUnlinksAndLowersThePath) {
  const DeletionCase& c = GetParam();
  std::shared_ptr<TMFileTree> root = scanR();
  TMFileTree* folderA = root->asFolder()->children()->at(0);
  std::vector<TMFileURL> trashed;
  const FileDeleteRez_t answer = root->deleteNodeWithURLParts(
      TMFileURL::fromPath(c.path).pathComponents(), 1, [&](const TMFileURL& item) {
        trashed.push_back(item);
        return TMTrashResult{c.refusal.empty(), c.refusal};
      });
  EXPECT_EQ(answer.code, c.code);
  EXPECT_EQ(answer.node ? std::string(answer.node->filename()) : "", c.node);
  EXPECT_EQ(answer.failure, c.refusal);
  EXPECT_EQ(root->diskSize(), c.rootBlocks * 512);
  EXPECT_EQ(folderA->diskSize(), c.folderABlocks * 512);
  EXPECT_EQ(namesOf(*root), c.rootChildren);
  // Only a target reached asks the trash, with its exact path.
  if (!c.node.empty()) {
    ASSERT_EQ(trashed.size(), 1u);
    EXPECT_EQ(trashed[0], TMFileURL::fromPath(c.path));
  } else {
    EXPECT_TRUE(trashed.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TMFileTreeDeletion,
    ::testing::Values(
        DeletionCase{"a file two levels down", "/R/A/a1", "", DeletionUpdated, "a1", 10, 0, {"A", "b", kOddName}},
        DeletionCase{"a folder with its contents", "/R/A", "", DeletionUpdated, "A", 10, 20, {"b", kOddName}},
        DeletionCase{"a name with a newline and a bad byte", "/R/" + kOddName, "", DeletionUpdated, kOddName, 30,
                     20, {"A", "b"}},
        DeletionCase{"the receiving node itself", "/R", "", DeletionDone, "R", 30, 20, {"A", "b", kOddName}},
        DeletionCase{"a name differing in case", "/r/A/a1", "", DeletionNotHere, "", 30, 20, {"A", "b", kOddName}},
        DeletionCase{"a child that no longer exists", "/R/A/gone", "", DeletionUpdated, "", 30, 20,
                     {"A", "b", kOddName}},
        DeletionCase{"a refusal of the trash", "/R/A/a1", "Permission denied", DeletionFailed, "a1", 30, 20,
                     {"A", "b", kOddName}}),
    caseNamesByName);

TEST(TMFileTreeDeletionFaults, APathGoingOnBelowAFileIsAnInternalFault) {
  std::shared_ptr<TMFileTree> root = scanR();
  auto accept = [](const TMFileURL&) { return TMTrashResult{true, {}}; };
  EXPECT_DEATH(root->deleteNodeWithURLParts({"/", "R", "b", "x"}, 1, accept), "DeletionDigg == -1");
}

TEST(TMFileTreeDeletionFaults, AVolumeNodeDeletesNothingAndLogsCalled) {
  TMNodeArena arena;
  TMVolume* volume = TMFileTree::create<TMVolume>(arena, "/");
  bool asked = false;
  testing::internal::CaptureStderr();
  const FileDeleteRez_t answer = volume->deleteNodeWithURLParts({"/"}, 0, [&](const TMFileURL&) {
    asked = true;
    return TMTrashResult{true, {}};
  });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "called\n");
  EXPECT_EQ(answer.code, DeletionDone);
  EXPECT_EQ(answer.node, nullptr);
  EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace tilemora::test
