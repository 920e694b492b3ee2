// SPDX-License-Identifier: GPL-3.0-or-later
// A layout whose folders are laid out when looked at makes the contents of
// just the folders that drawing enters or a search goes through; a whole
// layout has them all from the start.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "core/filetree/TMFileTreePath.h"
#include "core/layout/TMLayoutBuilding.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

// big: nearly everything; deep: a tenth, three folders down; tiny: one
// block, far below a drawable tile at any size asked here.
E lookedAtTree() {
  return E::directory(
      "root", {E::directory("big", {E::file("b1", 400000), E::file("b2", 300000),
                                    E::directory("sub", {E::file("s1", 150000), E::file("s2", 150000)})}),
               E::directory("deep", {E::directory("a", {E::directory("b", {E::file("f", 100000)})})}),
               E::directory("tiny", {E::file("t1", 1)})});
}

// The paths of the folders whose contents are laid out, walking only what
// is laid out already.
void collectLaidOut(const TMLayoutNode* node, const std::string& above, std::set<std::string>& paths) {
  if (node == nullptr) return;
  if (const auto* split = dynamic_cast<const TMLayoutTree*>(node)) {
    collectLaidOut(split->left(), above, paths);
    collectLaidOut(split->right(), above, paths);
  } else if (const auto* folder = dynamic_cast<const TMLayoutFolder*>(node)) {
    const std::string path = above + "/" + std::string(folder->fileNode()->filename());
    if (folder->laidOut()) paths.insert(path);
    collectLaidOut(folder->child(), path, paths);
  }
}

struct LookCase {
  std::string name;
  TMLayoutBuilt built;
  std::function<void(TMLayoutNode& layout, TMFileTree& root)> look;
  std::set<std::string> laidOut;
};

void PrintTo(const LookCase& c, std::ostream* out) { *out << c.name; }

void drawAt(TMLayoutNode& layout, double width, double height) {
  TMFrame frame({0, 0, width, height});
  frame.draw(layout);
}

void searchPath(TMLayoutNode& layout, const std::string& path) {
  const TMRect canvas{0, 0, 400, 300};
  TMDrawInfo_t info = searchInfo(canvas, TMFileURL());
  ASSERT_NE(layout.getNodeAtPathParts(TMFileURL::fromPath(path).pathComponents(), 1, info, canvas), nullptr) << path;
}

const std::set<std::string> kEveryFolder{"/root", "/root/big", "/root/big/sub", "/root/deep", "/root/deep/a",
                                         "/root/deep/a/b", "/root/tiny"};

class TMLazyLayout : public ::testing::TestWithParam<LookCase> {};

TEST_P(TMLazyLayout, LaysOutTheFoldersLookedAtAndNoOthers) {
  const LookCase& c = GetParam();
  TMFinishedScan scan = scanToEnd("/root", std::make_shared<TMMemoryFileSystem>(lookedAtTree()));
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, 65536, 0, c.built);
  ASSERT_NE(layout, nullptr);
  c.look(*layout, *scan.root);
  std::set<std::string> laidOut;
  collectLaidOut(layout.get(), "", laidOut);
  EXPECT_EQ(laidOut, c.laidOut);
}

const LookCase kLookCases[] = {
    {"built at once, everything", TMLayoutBuilt::kAtOnce, [](TMLayoutNode&, TMFileTree&) {}, kEveryFolder},
    {"nothing looked at", TMLayoutBuilt::kWhenLookedAt, [](TMLayoutNode&, TMFileTree&) {}, {}},
    {"drawn at 400 by 300, all but the folder too small to enter", TMLayoutBuilt::kWhenLookedAt,
     [](TMLayoutNode& layout, TMFileTree&) { drawAt(layout, 400, 300); },
     {"/root", "/root/big", "/root/big/sub", "/root/deep", "/root/deep/a", "/root/deep/a/b"}},
    {"drawn at 10 by 10, only the top entered", TMLayoutBuilt::kWhenLookedAt,
     [](TMLayoutNode& layout, TMFileTree&) { drawAt(layout, 10, 10); }, {"/root"}},
    {"a path searched, the folders on it", TMLayoutBuilt::kWhenLookedAt,
     [](TMLayoutNode& layout, TMFileTree&) { searchPath(layout, "/root/deep/a/b/f"); },
     {"/root", "/root/deep", "/root/deep/a", "/root/deep/a/b"}},
    {"a point searched, the folders under it", TMLayoutBuilt::kWhenLookedAt,
     [](TMLayoutNode& layout, TMFileTree& root) {
       // Where the deepest file is, as a whole layout of the tree has it.
       const TMRect canvas{0, 0, 400, 300};
       std::unique_ptr<TMLayoutNode> whole = createLayoutTree(root, 65536, 0, TMLayoutBuilt::kAtOnce);
       TMDrawInfo_t info = searchInfo(canvas, TMFileURL());
       ASSERT_NE(whole->getNodeAtPathParts({"/", "root", "deep", "a", "b", "f"}, 1, info, canvas), nullptr);
       const TMRect& f = info.selection.rect;
       TMDrawInfo_t again = searchInfo(canvas, TMFileURL());
       EXPECT_NE(layout.getNodeAtPoint({f.x + f.width / 2, f.y + f.height / 2}, again, canvas), nullptr);
     },
     {"/root", "/root/deep", "/root/deep/a", "/root/deep/a/b"}},
    {"a file deleted in a folder never looked at", TMLayoutBuilt::kWhenLookedAt,
     [](TMLayoutNode& layout, TMFileTree& root) {
       const TMFileTreePath path = TMFileTreePath::resolve(root, {"/", "root", "tiny", "t1"}, 1);
       TMFileTree::deleteNodeOnPath(path, [](const TMFileURL&) { return TMTrashResult{true, {}}; });
       TMLayoutNode::deleteNode(layout, path);
     },
     {}},
};

INSTANTIATE_TEST_SUITE_P(Looks, TMLazyLayout, ::testing::ValuesIn(kLookCases),
                         caseNamesBy([](const LookCase& c) { return c.name; }));

}  // namespace
}  // namespace tilemora::test
