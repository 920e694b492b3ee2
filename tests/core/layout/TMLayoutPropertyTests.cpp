// SPDX-License-Identifier: GPL-3.0-or-later
// Properties of whole layouts built from random scanned trees: placed nodes
// tile their folder's contents in proportion to their sizes without
// overlap; a point search answers the deepest drawable node under the point;
// a path search answers the node whose path was asked; after random
// deletions sizes still add up and rebuilt folders still tile.

#include <gtest/gtest.h>

#include <random>

#include "core/layout/TMLayoutBuilding.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/filetree/TMFolderTree.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

TMMemoryEntry randomFolder(std::mt19937& random, const std::string& name, int depth) {
  TMMemoryEntry folder = TMMemoryEntry::directory(name, {});
  int entries = std::uniform_int_distribution<int>(1, 9)(random);
  for (int i = 0; i < entries; ++i) {
    bool subFolder = depth < 4 && std::bernoulli_distribution(0.3)(random);
    std::string childName = (subFolder ? "d" : "f") + std::to_string(i);
    if (subFolder) {
      folder.children.push_back(randomFolder(random, childName, depth + 1));
    } else {
      // Sizes spread over three orders of magnitude, none empty.
      auto blocks = uint64_t(std::exp(std::uniform_real_distribution<double>(0, 7)(random)));
      folder.children.push_back(TMMemoryEntry::file(childName, blocks + 1));
    }
  }
  return folder;
}

struct PlacedNode {
  TMLayoutNode* node;
  TMRect rect;
  std::vector<std::string> path;  // components, from "/"
  bool drawable;
};

double area(const TMRect& r) { return r.width * r.height; }

bool contains(const TMRect& r, const TMPoint& p) {
  return r.x <= p.x && r.y <= p.y && p.x <= r.x + r.width && p.y <= r.y + r.height;
}

// Walks a layout as drawing does, recording each leaf and folder with its
// rectangle; `children` receives, per folder, what its split tree places.
class LayoutWalker {
 public:
  explicit LayoutWalker(const TMRect& canvas) : info_(searchInfo(canvas, TMFileURL())) {}

  void walk(TMLayoutNode* node, const TMRect& r, std::vector<std::string> path, int parent) {
    if (auto* split = dynamic_cast<TMLayoutTree*>(node)) {
      if (!split->isSplit()) return;
      split->layOutSides();
      TMRect first, second;
      split->orientAndSplit(r, first, second);
      if (split->left()) walk(split->left(), first, path, parent);
      if (split->right()) walk(split->right(), second, path, parent);
      return;
    }
    if (parent >= 0) path.emplace_back(node->fileNode()->filename());
    placed.push_back({node, r, path, node->drawableWithInfo(info_, r)});
    int index = int(placed.size()) - 1;
    children.emplace_back();
    if (parent >= 0) children[size_t(parent)].push_back(index);
    if (auto* folder = dynamic_cast<TMLayoutFolder*>(node)) {
      TMRect contents = r;
      folder->cropSubRectangle(contents, info_);
      if (TMLayoutNode* inside = folder->contents()) walk(inside, contents, path, index);
    }
  }

  std::vector<PlacedNode> placed;
  std::vector<std::vector<int>> children;

 private:
  TMDrawInfo_t info_;
};

// Random trees, each seed scanned with one thread and with the default.
class TMLayoutProperties : public ::testing::TestWithParam<std::tuple<int, unsigned>> {
 protected:
  void SetUp() override {
    std::mt19937 random{unsigned(seed())};
    auto fileSystem = std::make_shared<TMMemoryFileSystem>(randomFolder(random, "root", 0));
    TMScanOptions options;
    options.threads = std::get<1>(GetParam());
    scan = scanToEnd("/root", fileSystem, nullptr, options);
    layout = createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest());
    ASSERT_NE(layout, nullptr);
    walker.walk(layout.get(), canvas, {"/", "root"}, -1);
  }

  int seed() const { return std::get<0>(GetParam()); }

  TMFinishedScan scan;
  std::unique_ptr<TMLayoutNode> layout;
  TMRect canvas{0, 0, 2000, 1500};
  LayoutWalker walker{canvas};
};

// Placed children lie inside their folder's contents without overlap, each
// with its share of the area, and together cover it. Folders whose file
// node counts fewer than `minimumChildren` children are passed over.
void expectChildrenTile(const LayoutWalker& walker, const TMRect& canvas, uint64_t minimumChildren) {
  TMDrawInfo_t info = searchInfo(canvas, TMFileURL());
  for (size_t f = 0; f < walker.placed.size(); ++f) {
    auto* folder = dynamic_cast<TMLayoutFolder*>(walker.placed[f].node);
    if (folder == nullptr || folder->fileNode()->asFolder()->childCount() < minimumChildren) continue;
    TMRect contents = walker.placed[f].rect;
    folder->cropSubRectangle(contents, info);
    if (contents.width <= 0 || contents.height <= 0) continue;  // all margin: never drawn
    double total = double(folder->nodeSize());
    if (total == 0) continue;
    double covered = 0;
    const std::vector<int>& kids = walker.children[f];
    for (size_t i = 0; i < kids.size(); ++i) {
      const PlacedNode& child = walker.placed[size_t(kids[i])];
      double share = double(child.node->nodeSize()) / total;
      EXPECT_NEAR(area(child.rect), share * area(contents), 1e-4 * area(contents));
      EXPECT_GE(child.rect.x, contents.x - 1e-6);
      EXPECT_GE(child.rect.y, contents.y - 1e-6);
      EXPECT_LE(child.rect.x + child.rect.width, contents.x + contents.width + 1e-6);
      EXPECT_LE(child.rect.y + child.rect.height, contents.y + contents.height + 1e-6);
      covered += area(child.rect);
      for (size_t j = i + 1; j < kids.size(); ++j) {
        const TMRect& a = child.rect;
        const TMRect& b = walker.placed[size_t(kids[j])].rect;
        double overlapWidth = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
        double overlapHeight = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
        EXPECT_FALSE(overlapWidth > 1e-6 && overlapHeight > 1e-6) << "overlap in folder " << f;
      }
    }
    // Every child with bytes has a layout here, so together they cover the contents.
    EXPECT_NEAR(covered, area(contents), 1e-4 * area(contents));
  }
}

// Every folder's size is the sum of its children's.
void expectSizesAddUp(const TMFileTree& node) {
  const TMFolderTree* folder = node.asFolder();
  if (folder == nullptr) return;
  uint64_t sum = 0;
  const TMChildList* list = folder->children();
  for (uint32_t i = 0; list && i < list->count(); ++i) {
    sum += list->at(i)->diskSize();
    expectSizesAddUp(*list->at(i));
  }
  EXPECT_EQ(node.diskSize(), sum) << node.filename();
}

TEST_P(TMLayoutProperties, ChildrenTileTheirFolderInProportionWithoutOverlap) {
  expectChildrenTile(walker, canvas, 0);
}

TEST_P(TMLayoutProperties, AfterRandomDeletionsSizesAddUpAndChildrenStillTile) {
  std::mt19937 random(unsigned(seed()) * 104729u);
  for (int deletion = 0; deletion < 6 && walker.placed.size() > 1; ++deletion) {
    const PlacedNode& target =
        walker.placed[std::uniform_int_distribution<size_t>(1, walker.placed.size() - 1)(random)];
    const std::vector<std::string> path = target.path;
    const TMFileTreePath resolved = TMFileTreePath::resolve(*scan.root, path, 1);
    ASSERT_EQ(TMFileTree::deleteNodeOnPath(resolved, [](const TMFileURL&) { return TMTrashResult{true, {}}; }).code,
              DeletionUpdated);
    TMLayoutNode::deleteNode(*layout, resolved);
    walker = LayoutWalker(canvas);
    walker.walk(layout.get(), canvas, {"/", "root"}, -1);
    expectSizesAddUp(*scan.root);
    // A folder left with one child does not rebuild: its child keeps its place.
    expectChildrenTile(walker, canvas, 2);
  }
}

TEST_P(TMLayoutProperties, APointSearchFindsTheDeepestDrawableNodeUnderThePoint) {
  std::mt19937 random(unsigned(seed()) * 7919u);
  std::uniform_real_distribution<double> x(0, canvas.width), y(0, canvas.height);
  for (int i = 0; i < 200; ++i) {
    TMPoint point{x(random), y(random)};
    TMDrawInfo_t info = searchInfo(canvas, TMFileURL::fromPath("/root"));
    TMLayoutNode* found = layout->getNodeAtPoint(point, info, canvas);
    ASSERT_NE(found, nullptr);
    auto placed = std::find_if(walker.placed.begin(), walker.placed.end(),
                               [&](const PlacedNode& p) { return p.node == found; });
    ASSERT_NE(placed, walker.placed.end());
    EXPECT_TRUE(contains(placed->rect, point));
    EXPECT_TRUE(placed->drawable);
    EXPECT_EQ(info.selection.rect, placed->rect);
    EXPECT_EQ(info.selection.url, TMFileURL::fromPathComponents(placed->path));
    for (int child : walker.children[size_t(placed - walker.placed.begin())]) {
      const PlacedNode& inside = walker.placed[size_t(child)];
      EXPECT_FALSE(inside.drawable && contains(inside.rect, point))
          << "a deeper drawable node lies under the point";
    }
  }
}

TEST_P(TMLayoutProperties, APathSearchFindsTheNodeOfEveryPath) {
  for (const PlacedNode& placed : walker.placed) {
    TMDrawInfo_t info = searchInfo(canvas, TMFileURL::fromPath("/root"));
    TMLayoutNode* found = layout->getNodeAtPathParts(placed.path, 1, info, canvas);
    EXPECT_EQ(found, placed.node);
    EXPECT_EQ(info.selection.url, TMFileURL::fromPathComponents(placed.path));
  }
}

INSTANTIATE_TEST_SUITE_P(RandomTrees, TMLayoutProperties,
                         ::testing::Combine(::testing::Range(1, 41), ::testing::Values(1u, 0u)),
                         [](const auto& info) {
                           return "Seed" + std::to_string(std::get<0>(info.param)) + "_" +
                                  threadsName(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace tilemora::test
