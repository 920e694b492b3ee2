// SPDX-License-Identifier: GPL-3.0-or-later
// Areas too small to draw their files one by one show what they hold: the
// kind with the most bytes in a colouring's mode, the level of most of
// their bytes by depth, the strongest change, the files picked out.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>

#include "core/drawing/TMAgeColoring.h"
#include "core/drawing/TMChangeColoring.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/layout/TMLayoutBuilding.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

// What the colourings of the cases draw with.
struct Colourings {
  TMTypeColoring type;
  TMAgeColoring age{1800000000};
};

struct AreaCase {
  const char* name;
  E tree;
  TMRect canvas;  // small enough that the last thing drawn is an area
  std::function<const TMFileColoring*(Colourings&)> drawnBefore;  // on the same wheel, or null
  std::function<const TMFileColoring*(Colourings&)> coloring;     // null: by depth
  std::function<TMColor(Colourings&)> expected;
};

void PrintTo(const AreaCase& c, std::ostream* out) { *out << c.name; }

const TMFileColoring* byType(Colourings& c) { return &c.type; }
const TMFileColoring* byAge(Colourings& c) { return &c.age; }
std::function<TMColor(Colourings&)> category(TMFileCategory kind) {
  return [kind](Colourings& c) { return c.type.colorOfCategory(kind); };
}
std::function<TMColor(Colourings&)> level(size_t depth) {
  return [depth](Colourings&) { return colorFromHtmlVal(colorList[depth]); };
}

// The root's contents are 14 × 4 pixels on a 20 × 20 canvas: one area.
constexpr TMRect kTiny{0, 0, 20, 20};
// A folder of two blocks beside a million is a few pixels of 100 × 100.
constexpr TMRect kSmall{0, 0, 100, 100};

class TMAreaColour : public ::testing::TestWithParam<AreaCase> {};

TEST_P(TMAreaColour, IsWhatTheAreaHoldsShows) {
  const AreaCase& c = GetParam();
  TMFinishedScan scan = scanToEnd("/" + c.tree.name, std::make_shared<TMMemoryFileSystem>(c.tree));
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest());
  Colourings colourings;
  TMFrame frame(c.canvas);
  if (c.drawnBefore) {
    frame.wheel.setFileColoring(c.drawnBefore(colourings));
    frame.draw(*layout);
  }
  frame.wheel.setFileColoring(c.coloring ? c.coloring(colourings) : nullptr);
  frame.draw(*layout);
  const size_t count = frame.gatherer.rectangleCount();
  ASSERT_GE(count, 2u);
  EXPECT_EQ(*frame.gatherer.getColors()[count - 1], c.expected(colourings));
}

// Ages of the memory file system: 1700000000 + 60 s per block.
INSTANTIATE_TEST_SUITE_P(
    Areas, TMAreaColour,
    ::testing::Values(
        AreaCase{"TheKindWithTheMostBytes", E::directory("R", {E::file("a.gz", 1), E::file("b.mp4", 3)}), kTiny,
                 nullptr, byType, category(TMFileCategory::kVideo)},
        AreaCase{"OfEqualSharesTheFirstKind", E::directory("R", {E::file("a.gz", 2), E::file("b.mp4", 2)}), kTiny,
                 nullptr, byType, category(TMFileCategory::kVideo)},
        AreaCase{"TheFilesOfItsFoldersCount",
                 E::directory("R", {E::file("a.gz", 3), E::directory("D", {E::file("b.mp4", 2), E::file("c.mp4", 2)})}),
                 kTiny, nullptr, byType, category(TMFileCategory::kVideo)},
        AreaCase{"BothSidesOfTheRunCount",
                 E::directory("R", {E::file("x.gz", 5), E::file("y.mp4", 3), E::file("z.mp4", 3)}), kTiny, nullptr,
                 byType, category(TMFileCategory::kVideo)},
        AreaCase{"AFolderTooSmallToEnterByType",
                 E::directory("R", {E::file("huge.mp4", 1000000), E::directory("D", {E::file("a.gz", 2)})}), kSmall,
                 nullptr, byType, category(TMFileCategory::kArchives)},
        AreaCase{"ANewColouringSortsAgain", E::directory("R", {E::file("a.gz", 2), E::file("b.gz", 2)}), kTiny,
                 byType, byAge,
                 [](Colourings& c) { return c.age.colorOfStep(ageStepOf(1700000000 + 120, c.age.now())); }},
        AreaCase{"ByDepthMostlyFilesTheirLevel",
                 E::directory("R", {E::file("a", 3), E::directory("D", {E::file("b", 2)})}), kTiny, nullptr,
                 nullptr, level(1)},
        AreaCase{"ByDepthMostlyFoldersTheLevelOfTheirFiles",
                 E::directory("R", {E::file("a", 1), E::directory("D", {E::file("b", 2)})}), kTiny, nullptr,
                 nullptr, level(2)},
        AreaCase{"ByDepthAFolderTooSmallToEnterTakesItsFilesLevel",
                 E::directory("R", {E::file("huge", 1000000), E::directory("D", {E::file("a", 1), E::file("b", 1)})}),
                 kSmall, nullptr, nullptr, level(2)},
        AreaCase{"ByDepthASmallFolderOfFoldersTakesTheirFilesLevel",
                 E::directory("R", {E::file("huge", 1000000), E::directory("D", {E::directory("E", {E::file("a", 2)})})}),
                 kSmall, nullptr, nullptr, level(3)}),
    caseNamesByName);

// A change hidden among unchanged files is what the user looks for: the
// strongest shows, of equal steps the one with more bytes.
struct ChangeCase {
  const char* name;
  std::vector<std::pair<uint64_t, uint64_t>> files;  // (old size, size); kNew for a new file
  TMChangeKind shownKind;
  uint64_t shownOld;  // the file whose change the area shows (its old size), or 0 for none
  uint64_t shownNow;
};

void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.name; }

class TMAreaChange : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(TMAreaChange, ShowsTheStrongestChange) {
  const ChangeCase& c = GetParam();
  TMNodeArena arena;
  std::vector<TMNodeChange> changes;
  std::vector<const TMFileTree*> files;
  for (const auto& [old, now] : c.files) {
    files.push_back(TMFileTree::create<TMFileTree>(arena, "f", now));
    if (old != now) changes.push_back({files.back(), old});
  }
  TMChangeColoring coloring(std::make_shared<TMNodeChanges>(changes));
  TMAreaTally tally;
  for (const TMFileTree* file : files) tally.bytes[coloring.kindOf(*file)] += file->diskSize();
  const TMColor depth = colorFromHtmlVal(0x123456);
  const TMColor* expected = &coloring.colorOfStep(TMChangeKind::kUnchanged, 0);
  if (c.shownKind != TMChangeKind::kUnchanged) {
    const uint64_t largest = coloring.changes().largestChange();
    expected = &coloring.colorOfStep(c.shownKind, changeStepOf(changeDifference(c.shownOld, c.shownNow), largest));
  }
  EXPECT_EQ(coloring.colorOfKind(coloring.shownKind(tally), depth), expected);
}

constexpr uint64_t kNew = TMNodeChange::kNew;

INSTANTIATE_TEST_SUITE_P(
    Changes, TMAreaChange,
    ::testing::Values(
        ChangeCase{"NothingChanged", {{100, 100}, {50, 50}}, TMChangeKind::kUnchanged, 0, 0},
        ChangeCase{"AStrongChangeAmongManyUnchangedBytes",
                   {{1000000, 1000000}, {kNew, 400}},
                   TMChangeKind::kNew,
                   kNew,
                   400},
        ChangeCase{"TheStrongestStepOverALargerWeakOne",
                   {{100, 500}, {1000, 996}, {2000, 1996}, {3000, 2996}},
                   TMChangeKind::kGrew,
                   100,
                   500},
        ChangeCase{"OfEqualStepsTheOneWithMoreBytes",
                   {{1000, 600}, {300, 700}},
                   TMChangeKind::kGrew,
                   300,
                   700}),
    caseNamesByName);

// What a colour looks like to someone without green cones (deuteranopia,
// Machado, Oliveira and Fernandes 2009), in CIELAB.
std::array<double, 3> seenWithoutGreenCones(const TMColor& colour) {
  auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  const double r0 = linear(colour.red), g0 = linear(colour.green), b0 = linear(colour.blue);
  const double r = 0.367322 * r0 + 0.860646 * g0 - 0.227968 * b0;
  const double g = 0.280085 * r0 + 0.672501 * g0 + 0.047413 * b0;
  const double b = -0.011820 * r0 + 0.042940 * g0 + 0.968881 * b0;
  const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047, y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

class TMChangeColoursApart : public ::testing::TestWithParam<size_t> {};

// New, grew and shrank stay apart at every step for a red-green colour
// blind user: at least a just noticeable difference ten times over when
// light, four times that at the strongest.
TEST_P(TMChangeColoursApart, ForARedGreenColourBlindEye) {
  const size_t step = GetParam();
  const TMChangeColoring coloring(std::make_shared<TMNodeChanges>());
  const TMChangeKind kinds[] = {TMChangeKind::kNew, TMChangeKind::kGrew, TMChangeKind::kShrank};
  const double least = step == kChangeSteps - 1 ? 40 : 10;
  for (size_t i = 0; i < 3; ++i) {
    for (size_t j = i + 1; j < 3; ++j) {
      const auto a = seenWithoutGreenCones(coloring.colorOfStep(kinds[i], step));
      const auto b = seenWithoutGreenCones(coloring.colorOfStep(kinds[j], step));
      EXPECT_GE(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), least) << "kinds " << i << " and " << j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, TMChangeColoursApart, ::testing::Range(size_t(0), kChangeSteps),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return "Step" + std::to_string(info.param);
                         });

TEST(TMAreaTallies, KeepNoMoreThanAFrameNeeds) {
  TMAreaTallies tallies;
  std::vector<char> areas(TMAreaTallies::kMostKept + 1);
  for (const char& area : areas) tallies.keep(&area, TMAreaTally{});
  EXPECT_LE(tallies.size(), TMAreaTallies::kMostKept);
  EXPECT_NE(tallies.find(&areas.back()), nullptr);  // the newest is kept
}

}  // namespace
}  // namespace tilemora::test
