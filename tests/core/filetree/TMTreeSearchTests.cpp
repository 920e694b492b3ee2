// SPDX-License-Identifier: GPL-3.0-or-later
// Finding names in a tree, and the files a search picks out on the map.

#include <gtest/gtest.h>

#include <tuple>

#include "core/layout/TMLayoutBuilding.h"
#include "core/drawing/TMHighlightColoring.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/layout/TMLayoutNode.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

struct SearchCase {
  const char* name;
  const char* needle;                 // a name containing it matches
  std::vector<std::string> matches;   // paths, largest first
  uint64_t blocks;                    // of the matches, none twice
  size_t coveredFiles;
  // The covered bytes (in blocks) by folder: R, R/cache and R/cache/old
  // as {below, here, all here}; a folder holding none has no entry.
  std::vector<std::tuple<uint64_t, uint64_t, bool>> coveredByFolder;
};

class TMTreeSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(TMTreeSearch, FindsNamesLargestFirstAndCoversWhatMatchedFoldersHold) {
  const SearchCase& c = GetParam();
  TMFinishedScan scan = scanToEnd(
      "/R", std::make_shared<TMMemoryFileSystem>(E::directory(
                "R", {E::directory("cache", {E::file("a.log", 30), E::directory("old", {E::file("cache.db", 5)})}),
                      E::file("b.log", 20), E::file("cache.txt", 40)})));
  const TMSearchResult result = searchTree(
      *scan.root, [&](std::string_view name) { return name.find(c.needle) != std::string_view::npos; });
  std::vector<std::string> paths;
  for (const TMSearchMatch& match : result.matches) paths.push_back(match.path);
  EXPECT_EQ(paths, c.matches);
  EXPECT_EQ(result.bytes, c.blocks * 512);
  EXPECT_EQ(result.coveredFiles.size(), c.coveredFiles);
  EXPECT_FALSE(result.abandoned);
  const TMFileTree* cache = childNamed(scan.root.get(), "cache");
  const TMFileTree* old = childNamed(cache, "old");
  ASSERT_NE(old, nullptr);
  std::vector<std::tuple<uint64_t, uint64_t, bool>> byFolder;
  for (const TMFileTree* folder : {static_cast<const TMFileTree*>(scan.root.get()), cache, old}) {
    auto found = result.coveredBytes.find(folder);
    if (found == result.coveredBytes.end()) continue;
    byFolder.emplace_back(found->second.below / 512, found->second.here / 512, found->second.allHere);
  }
  EXPECT_EQ(byFolder, c.coveredByFolder);
  EXPECT_EQ(result.coveredBytes.size(), byFolder.size());
}

INSTANTIATE_TEST_SUITE_P(
    Needles, TMTreeSearch,
    ::testing::Values(SearchCase{"files only", ".log", {"cache/a.log", "b.log"}, 50, 2,
                                 {{50, 20, false}, {30, 30, false}}},
                      SearchCase{"a folder and what it holds", "cache",
                                 {"cache.txt", "cache", "cache/old/cache.db"}, 75, 3,
                                 {{75, 40, false}, {35, 30, true}, {5, 5, true}}},
                      SearchCase{"nothing", "zzz", {}, 0, 0, {}},
                      SearchCase{"every name", "", {"cache.txt", "cache", "cache/a.log", "b.log", "cache/old",
                                                    "cache/old/cache.db"}, 95, 4,
                                 {{95, 60, false}, {35, 30, true}, {5, 5, true}}}),
    caseNamesByName);

TEST(TMTreeSearchAbandon, AnUnwantedSearchAnswersNothing) {
  std::vector<E> files;
  for (int i = 0; i < 10000; ++i) files.push_back(E::file("f" + std::to_string(i), 1));
  TMFinishedScan scan = scanToEnd("/R", std::make_shared<TMMemoryFileSystem>(E::directory("R", files)));
  const TMSearchResult result = searchTree(*scan.root, [](std::string_view) { return true; }, [] { return false; });
  EXPECT_TRUE(result.abandoned);
  EXPECT_TRUE(result.matches.empty());
}

TEST(TMHighlightColoring, PickedFilesKeepTheirColourTheOthersAreDimmed) {
  TMNodeArena arena;
  const TMFileTree* picked = TMFileTree::create<TMFileTree>(arena, "p", 512);
  const TMFileTree* other = TMFileTree::create<TMFileTree>(arena, "o", 512);
  TMHighlightColoring coloring(nullptr, std::make_shared<TMHighlightColoring::Files>(TMHighlightColoring::Files{picked}));
  const TMColor depth = colorFromHtmlVal(0x123456);
  EXPECT_EQ(coloring.colorOf(*picked, depth), &depth);
  EXPECT_EQ(coloring.colorOf(*other, depth), &TMHighlightColoring::dimmedColor());
}

}  // namespace
}  // namespace tilemora::test
