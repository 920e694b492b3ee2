// SPDX-License-Identifier: GPL-3.0-or-later
// What a search found colours the map the same whether its areas are told
// what they hold by the covered bytes the search recorded by folder, or
// sort every file they hold: small folders, runs of tiny tiles in folders
// holding matches or none, folders below a matched folder, by depth and
// with the types' colours beneath.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/drawing/TMHighlightColoring.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/layout/TMLayoutBuilding.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMRandomTree.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

// Random folders beside one of 2,000 small files, whose tiles are too
// small to draw but in runs.
E findTree(uint32_t seed) {
  std::mt19937 random(seed);
  E root = randomBranch(random, "R", 0);
  E many = E::directory("many", {});
  for (int i = 0; i < 2000; ++i) {
    many.children.push_back(E::file("m" + std::to_string(i) + (i % 2 != 0 ? ".jpg" : ""), 1 + i % 4));
  }
  root.children.push_back(std::move(many));
  return root;
}

std::vector<TMColor> coloursDrawn(TMFileTree& root, const TMFileColoring& coloring, const TMRect& canvas) {
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(root, 65536, 0, layoutBuiltUnderTest());
  TMFrame frame(canvas);
  frame.wheel.setFileColoring(&coloring);
  frame.draw(*layout);
  std::vector<TMColor> colours;
  for (size_t i = 0; i < frame.gatherer.rectangleCount(); ++i) colours.push_back(*frame.gatherer.getColors()[i]);
  return colours;
}

struct FindColourCase {
  const char* name;
  const char* needle;  // a name containing it matches
  TMRect canvas;
  bool byType;  // the types' colours beneath, else by depth
};

void PrintTo(const FindColourCase& c, std::ostream* out) { *out << c.name; }

class TMFindColour : public ::testing::TestWithParam<FindColourCase> {};

TEST_P(TMFindColour, TheBytesByFolderColourAsTheFilesDo) {
  const FindColourCase& c = GetParam();
  for (uint32_t seed : {1u, 2u, 3u}) {
    TMFinishedScan scan = scanToEnd("/R", std::make_shared<TMMemoryFileSystem>(findTree(seed)));
    auto result = std::make_shared<const TMSearchResult>(searchTree(
        *scan.root, [&](std::string_view name) { return name.find(c.needle) != std::string_view::npos; }));
    std::shared_ptr<const TMFileColoring> base;
    if (c.byType) base = std::make_shared<TMTypeColoring>();
    std::shared_ptr<const TMHighlightColoring::Files> files(result, &result->coveredFiles);
    const TMHighlightColoring sorted(base, files);
    const TMHighlightColoring told(base, files, std::shared_ptr<const TMBytesByFolder>(result, &result->coveredBytes));
    const std::vector<TMColor> expected = coloursDrawn(*scan.root, sorted, c.canvas);
    EXPECT_GT(expected.size(), 20u) << "seed " << seed;
    EXPECT_EQ(coloursDrawn(*scan.root, told, c.canvas), expected) << "seed " << seed;
  }
}

constexpr TMRect kSmallMap{0, 0, 160, 120};
constexpr TMRect kLargeMap{0, 0, 900, 640};

INSTANTIATE_TEST_SUITE_P(
    Searches, TMFindColour,
    ::testing::Values(FindColourCase{"files here and there, small map", "1", kSmallMap, false},
                      FindColourCase{"files here and there, large map", "1", kLargeMap, false},
                      FindColourCase{"matched folders, all below them", "folder 1", kLargeMap, false},
                      FindColourCase{"a few of the many small files", "m17", kLargeMap, false},
                      FindColourCase{"one type, everywhere", ".jpg", kSmallMap, false},
                      FindColourCase{"nothing found", "zzz", kLargeMap, false},
                      FindColourCase{"by type, files here and there", "1", kLargeMap, true},
                      FindColourCase{"by type, matched folders", "folder 1", kSmallMap, true}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
