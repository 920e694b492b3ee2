// SPDX-License-Identifier: GPL-3.0-or-later
// File types from names alone, their totals, and files coloured by them.

#include <gtest/gtest.h>

#include "core/layout/TMLayoutBuilding.h"
#include "core/drawing/TMFileTypes.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMNodeArena.h"
#include "core/layout/TMLayoutNode.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

struct NameCase {
  const char* name;
  const char* extension;
  TMFileCategory category;
};

class TMFileTypesByName : public ::testing::TestWithParam<NameCase> {};

TEST_P(TMFileTypesByName, DecidesFromTheNameAlone) {
  EXPECT_EQ(extensionOf(GetParam().name), GetParam().extension);
  EXPECT_EQ(categoryOfExtension(extensionOf(GetParam().name)), GetParam().category);
  // The colouring agrees, for a node that was never opened.
  TMNodeArena arena;
  TMTypeColoring coloring;
  EXPECT_EQ(coloring.colorOf(*TMFileTree::create<TMFileTree>(arena, GetParam().name, 512), TMColor()),
            &coloring.colorOfCategory(GetParam().category));
}

INSTANTIATE_TEST_SUITE_P(
    Names, TMFileTypesByName,
    ::testing::Values(NameCase{"holiday.JPG", "jpg", TMFileCategory::kImages},
                      NameCase{"film.mkv", "mkv", TMFileCategory::kVideo},
                      NameCase{"song.Flac", "flac", TMFileCategory::kAudio},
                      NameCase{"report.pdf", "pdf", TMFileCategory::kDocuments},
                      NameCase{"backup.tar.gz", "gz", TMFileCategory::kArchives},
                      NameCase{"tool_1.0_amd64.deb", "deb", TMFileCategory::kArchives},
                      NameCase{"main.cpp", "cpp", TMFileCategory::kSourceCode},
                      NameCase{"libz.so.1.3", "so", TMFileCategory::kPrograms},
                      NameCase{"libstdc++.so.6", "so", TMFileCategory::kPrograms},
                      NameCase{"archive.so.old", "old", TMFileCategory::kOther},
                      NameCase{"libz.so.", "", TMFileCategory::kOther},
                      NameCase{"libz.so.1.", "", TMFileCategory::kOther},
                      NameCase{"libz.so.1.x", "x", TMFileCategory::kOther},
                      // Listed as video and as source code: the first listed.
                      NameCase{"stream.ts", "ts", TMFileCategory::kVideo},
                      NameCase{".bashrc", "", TMFileCategory::kOther},
                      NameCase{"Makefile", "", TMFileCategory::kOther},
                      NameCase{"trailing.", "", TMFileCategory::kOther},
                      NameCase{"odd\xff.PNG", "png", TMFileCategory::kImages}),
    caseNamesBy([](const NameCase& c) { return spelledOut(c.name); }));

TEST(TMFileTypeStatistics, CountsEveryFileByCategoryAndExtensionLargestFirst) {
  using E = TMMemoryEntry;
  TMFinishedScan scan = scanToEnd(
      "/R", std::make_shared<TMMemoryFileSystem>(E::directory(
                "R", {E::file("a.JPG", 30), E::file("b.jpg", 10), E::file("c.png", 5),
                      E::directory("src", {E::file("x.cpp", 20), E::file("y.h", 1), E::file("README", 2)}),
                      E::file("d.mkv", 25), E::file("empty.pdf", 0)})));
  const TMTypeStatistics statistics = typeStatisticsOf(*scan.root);
  auto row = [](const TMTypeTotal& t) {
    return std::string(t.extension.empty() ? categoryName(t.category) : t.extension) + " " +
           std::to_string(t.bytes / 512) + "/" + std::to_string(t.files);
  };
  std::vector<std::string> categories, extensions;
  for (const TMTypeTotal& t : statistics.categories) categories.push_back(row(t));
  for (const TMTypeTotal& t : statistics.extensions) extensions.push_back(row(t));
  // An empty file counts too, and its category with it.
  EXPECT_EQ(categories, (std::vector<std::string>{"Images 45/3", "Video 25/1", "Source code 21/2", "Other 2/1",
                                                  "Documents 0/1"}));
  EXPECT_EQ(extensions, (std::vector<std::string>{"jpg 40/2", "mkv 25/1", "cpp 20/1", "png 5/1", "Other 2/1",
                                                  "h 1/1", "pdf 0/1"}));
  EXPECT_EQ(statistics.bytes, 93u * 512);
}

// With a colouring, files take its colours and folders keep the depth's;
// without, everything is by depth.
TEST(TMFileTypeColoring, FilesTakeTheirTypeColourFoldersTheirDepthColour) {
  using E = TMMemoryEntry;
  TMFinishedScan scan = scanToEnd("/R", std::make_shared<TMMemoryFileSystem>(E::directory(
                                            "R", {E::file("a.png", 30), E::directory("D", {E::file("b.mkv", 20)})})));
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest());
  TMTypeColoring coloring;
  for (const bool typed : {false, true}) {
    TMFrame frame({0, 0, 400, 300});
    frame.wheel.setFileColoring(typed ? &coloring : nullptr);
    frame.draw(*layout);
    std::vector<const TMColor*> colors(frame.gatherer.getColors(),
                                       frame.gatherer.getColors() + frame.gatherer.rectangleCount());
    ASSERT_EQ(colors.size(), 4u);  // R, a.png, D, b.mkv: largest first, parents before children
    TMColorWheel depth;
    EXPECT_EQ(*colors[0], *depth.getLevelColor()) << typed;
    depth.pushColor();
    EXPECT_EQ(*colors[2], *depth.getLevelColor()) << typed;
    EXPECT_EQ(*colors[1], typed ? coloring.colorOfCategory(TMFileCategory::kImages) : *depth.getLevelColor());
    depth.pushColor();
    EXPECT_EQ(*colors[3], typed ? coloring.colorOfCategory(TMFileCategory::kVideo) : *depth.getLevelColor());
  }
}

}  // namespace
}  // namespace tilemora::test
