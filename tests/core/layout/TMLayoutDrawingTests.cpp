// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutSpaceLeaves.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora::test {
namespace {

std::vector<std::pair<std::string, TMRect>> textsOf(const TMFrame& frame) {
  std::vector<std::pair<std::string, TMRect>> texts;
  for (const TMStringDraw& text : frame.gatherer.getText()) texts.emplace_back(text.text(), text.position());
  return texts;
}

TEST(TMLayoutDrawing, AFolderHasATitleBandAndItsContentsInset) {
  TMLeafFactory factory;
  std::vector<std::unique_ptr<TMLayoutNode>> list;
  list.push_back(factory.leaf(100, "inside"));
  TMLayoutFolder folder(std::move(list), factory.file(100, "Folder"), 100);

  TMFrame frame({0, 0, 200, 100}, 30);
  frame.draw(folder);
  ASSERT_EQ(frame.rectangles().size(), 2u);
  EXPECT_EQ(frame.rectangles()[0], (TMRect{0, 0, 200, 100}));
  EXPECT_EQ(frame.rectangles()[1], (TMRect{3, 3, 194, 84}));
  auto texts = textsOf(frame);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], std::make_pair(std::string("Folder"), TMRect{4, 89, 166, 10}));
  EXPECT_EQ(texts[1], std::make_pair(std::string("100 bytes"), TMRect{170, 89, 166, 10}));
  // The file fills the contents and is named along its top.
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2].first, "inside");
  EXPECT_EQ(texts[2].second, (TMRect{7, 7, 194 - 30 - 4, 80}));
}

TEST(TMLayoutDrawing, ASmallFileShowsOnlyItsName) {
  TMLeafFactory factory;
  TMLayoutLeaf leaf(factory.file(10, "file"));
  TMFrame frame({0, 0, 60, 20});
  frame.draw(leaf);
  EXPECT_EQ(textsOf(frame), (std::vector<std::pair<std::string, TMRect>>{
                                {"file", TMRect{4, 4, 52, 16}}}));
}

struct TextCase {
  double width;
  double height;
  size_t texts;
};

class TMLeafTextThresholds : public ::testing::TestWithParam<TextCase> {};

TEST_P(TMLeafTextThresholds, NameFromFortyPixelsSizeBeyondEighty) {
  TMLeafFactory factory;
  TMLayoutLeaf leaf(factory.file(10));
  TMFrame frame({0, 0, GetParam().width, GetParam().height});
  frame.draw(leaf);
  EXPECT_EQ(frame.gatherer.getText().size(), GetParam().texts)
      << GetParam().width << " x " << GetParam().height;
}

INSTANTIATE_TEST_SUITE_P(Sizes, TMLeafTextThresholds,
                         ::testing::Values(TextCase{40, 10, 1}, TextCase{39.9, 10, 0},
                                           TextCase{40, 9.9, 0}, TextCase{80, 10, 1},
                                           TextCase{81, 10, 2}),
                         caseNamesBy([](const TextCase& c) {
                           std::ostringstream text;
                           text << c.width << " by " << c.height;
                           return spelledOut(text.str());
                         }));

TEST(TMLayoutDrawing, TheTextWidthTestUsesThePixelHeight) {
  TMLeafFactory factory;
  TMLayoutLeaf leaf(factory.file(10));
  // The view shows half the canvas's height: a virtual unit is two pixels
  // high but one wide, so pixelHeight is 0.5 and a 30-unit-wide leaf is 60
  // vertical pixels wide, enough for its name.
  TMFrame frame({0, 0, 100, 100});
  frame.visible = {0, 0, 100, 50};
  TMDrawInfo_t info = frame.begin();
  ASSERT_EQ(info.pixelHeight, 0.5);
  leaf.drawGeometry(info, TMRect{0, 0, 30, 20});
  frame.gatherer.stopGathering();
  EXPECT_EQ(frame.gatherer.getText().size(), 1u);
}

TEST(TMLayoutDrawing, NodesBelowSevenPixelsAreFilledWholeAndThoseOutOfViewSkipped) {
  TMLeafFactory factory;
  auto folderOf = [&](uint64_t size) {
    std::vector<std::unique_ptr<TMLayoutNode>> list;
    list.push_back(factory.leaf(size));
    return TMLayoutFolder(std::move(list), factory.file(size), size);
  };
  TMFrame frame({0, 0, 100, 100});
  TMDrawInfo_t info = frame.begin();
  TMLayoutFolder narrow = folderOf(1);
  narrow.drawGeometry(info, TMRect{0, 0, 6, 50});
  TMLayoutFolder outside = folderOf(1);
  outside.drawGeometry(info, TMRect{101, 0, 50, 50});
  TMLayoutFolder touching = folderOf(1);
  touching.drawGeometry(info, TMRect{100, 0, 50, 50});  // shares the visible edge
  frame.gatherer.stopGathering();
  // The narrow folder is one unframed fill, not entered; the touching one
  // is drawn (its contents, inset, lie outside); the outside one is not.
  ASSERT_EQ(frame.gatherer.rectangleCount(), 2u);
  EXPECT_EQ(frame.rectangles()[0], (TMRect{0, 0, 6, 50}));
  EXPECT_EQ(frame.gatherer.getStyles()[0], TMRectStyle::kPlain);
  EXPECT_EQ(frame.rectangles()[1], (TMRect{100, 0, 50, 50}));
  EXPECT_EQ(frame.gatherer.getStyles()[1], TMRectStyle::kFramed);

  // Seven pixels in each axis's own units: on a view stretched twice
  // vertically, a folder six units wide is still too narrow to enter.
  TMFrame stretched({0, 0, 100, 100});
  stretched.visible = {0, 0, 100, 50};
  info = stretched.begin();
  TMLayoutFolder stillNarrow = folderOf(1);
  stillNarrow.drawGeometry(info, TMRect{0, 0, 6, 50});
  stretched.gatherer.stopGathering();
  ASSERT_EQ(stretched.gatherer.rectangleCount(), 1u);
  EXPECT_EQ(stretched.gatherer.getStyles()[0], TMRectStyle::kPlain);
}

// A split node too small to enter is filled, unframed, in the colour of
// what it places: whole when both sides hold nodes, only the placed side's
// share otherwise.
struct DenseSplitCase {
  const char* name;
  std::vector<uint64_t> sizes;
  uint64_t total;
  TMRect filled;
};
class TMDenseSplits : public ::testing::TestWithParam<DenseSplitCase> {};

TEST_P(TMDenseSplits, FillWhatTheyPlaceInOneRectangle) {
  TMLeafFactory factory;
  TMLayoutTree tree(factory.leaves(GetParam().sizes), GetParam().total);
  TMFrame frame({0, 0, 100, 100});
  TMDrawInfo_t info = frame.begin();
  tree.drawGeometry(info, TMRect{0, 0, 6, 4});
  frame.gatherer.stopGathering();
  ASSERT_EQ(frame.gatherer.rectangleCount(), 1u);
  EXPECT_EQ(frame.rectangles()[0], GetParam().filled);
  EXPECT_EQ(frame.gatherer.getStyles()[0], TMRectStyle::kPlain);
  EXPECT_EQ(*frame.gatherer.getColors()[0], *TMColorWheel().getLevelColor());
}
INSTANTIATE_TEST_SUITE_P(Splits, TMDenseSplits,
                         ::testing::Values(DenseSplitCase{"two sides", {3, 1}, 4, {0, 0, 6, 4}},
                                           DenseSplitCase{"a lone node of half", {2}, 4, {0, 0, 3, 4}}),
                         caseNamesByName);

TEST(TMLayoutDrawing, AVisibleSplitDrawsBothSidesHoweverThin) {
  TMLeafFactory factory;
  TMLayoutTree tree(factory.leaves({6, 1}), 7);
  TMFrame frame({0, 0, 7, 7});
  frame.draw(tree);
  ASSERT_EQ(frame.rectangles().size(), 2u);
  EXPECT_EQ(frame.rectangles()[1].height, 7.0 - frame.rectangles()[0].height);
}

TEST(TMLayoutDrawing, ColoursFollowFolderDepthAndTheSelection) {
  TMLeafFactory factory;
  TMFileTree* selectedFile = factory.file(30, "selected");
  std::vector<std::unique_ptr<TMLayoutNode>> list;
  list.push_back(factory.leaf(70, "plain"));
  list.push_back(std::make_unique<TMLayoutLeaf>(selectedFile));
  TMLayoutFolder folder(std::move(list), factory.file(100, "Folder"), 100);

  TMFrame frame({0, 0, 400, 300});
  frame.draw(folder, selectedFile);
  ASSERT_EQ(frame.gatherer.rectangleCount(), 3u);
  const TMColor* const* colors = frame.gatherer.getColors();
  EXPECT_EQ(*colors[0], colorFromHtmlVal(colorList[0]));
  EXPECT_EQ(*colors[1], colorFromHtmlVal(colorList[1]));
  EXPECT_EQ(colors[2], frame.wheel.getSelectionColor());
  EXPECT_EQ(frame.wheel.level(), 0);
}

TEST(TMLayoutDrawing, FreeAndUnscannedSpaceKeepTheirColoursEvenWhenSelected) {
  TMLeafFactory factory;
  TMFileTree* free = factory.file(50, "Free space");
  TMLayoutEmptySpace freeLeaf(free);
  TMLayoutUnscanned unscannedLeaf(factory.file(50, "Unscanned space"));
  TMFrame frame({0, 0, 100, 100});
  TMDrawInfo_t info = frame.begin(free);
  freeLeaf.drawGeometry(info, TMRect{0, 0, 50, 100});
  unscannedLeaf.drawGeometry(info, TMRect{50, 0, 50, 100});
  frame.gatherer.stopGathering();
  ASSERT_EQ(frame.gatherer.rectangleCount(), 2u);
  EXPECT_EQ(frame.gatherer.getColors()[0], &TMColor::windowBackgroundColor());
  EXPECT_EQ(frame.gatherer.getColors()[1], &TMColor::whiteColor());
  EXPECT_EQ(freeLeaf.fileNode(), nullptr);
  EXPECT_EQ(freeLeaf.nodeSize(), 50u);
}

TEST(TMLayoutDrawing, AFolderWhoseChildrenFallShortOfItsTotalFillsOnlyTheirShare) {
  TMLeafFactory factory;
  // 92 of its 100 bytes lie in children left out of the layout.
  TMLayoutFolder folder(factory.leaves({5, 3}), factory.file(100, "Folder"), 100);
  TMFrame frame({0, 0, 200, 100});
  frame.draw(folder);
  const std::vector<TMRect> rects = frame.rectangles();
  ASSERT_EQ(rects.size(), 3u);
  TMRect contents = rects[0];
  folder.cropSubRectangle(contents, frame.begin());
  const double children = rects[1].width * rects[1].height + rects[2].width * rects[2].height;
  EXPECT_NEAR(children, 0.08 * contents.width * contents.height, 1e-3);
}

}  // namespace
}  // namespace tilemora::test
