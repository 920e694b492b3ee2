// SPDX-License-Identifier: GPL-3.0-or-later
// A window's session on a binary export read a folder at a time, from a
// few entries to all: the file types of the whole scan counted from its
// file whatever was read, a folder selected that was not read yet read on
// its own, and Save Scan refused while folders are not read (they would be
// saved empty); compared with an earlier scan, the whole scan's changes
// listed and what the tree holds coloured.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <tuple>

#include "core/drawing/TMFileTypes.h"
#include "core/filetree/TMLargestFiles.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/platform/TMTextMeasuring.h"
#include "import/TMTreeBinaryExport.h"
#include "import/TMTreeComparison.h"
#include "import/TMTreeExport.h"
#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"
#include "support/TMFakeHosts.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"
#include "view/controller/TMGlobalQueues.h"
#include "view/session/TMSession.h"

namespace tilemora::test {
namespace {

// "/data": folders of files of several types, one with a folder below it;
// the largest files are in the folders read last.
std::string byFoldersSessionJson() {
  const char* const kEndings[] = {".jpg", ".txt", ".cpp", ".mkv", "", ".tar.gz"};
  auto files = [&](const std::string& prefix, int count, int size) {
    std::string text;
    for (int i = 0; i < count; ++i)
      text += R"(,{"name":")" + prefix + std::to_string(i) + kEndings[i % 6] + R"(","dsize":)" +
              std::to_string(size * (1 + i % 3)) + "}";
    return text;
  };
  return R"([1,2,{},[{"name":"/data"},[{"name":"big"})" + files("b", 60, 8192) + R"(],[{"name":"mid"})" +
         files("m", 20, 4096) + R"(,[{"name":"deep"})" + files("d", 12, 4096) +
         R"(,{"name":"d-huge.mkv","dsize":204800}]],[{"name":"small"})" + files("s", 4, 4096) +
         R"(,{"name":"s-huge.iso","dsize":307200}])" + files("top", 5, 16384) + "]]";
}

std::vector<std::string> rowsOf(const TMTypeStatistics& statistics) {
  std::vector<std::string> rows;
  for (const auto* totals : {&statistics.categories, &statistics.extensions}) {
    for (const TMTypeTotal& total : *totals)
      rows.push_back(categoryName(total.category) + std::string(" .") + total.extension + " " +
                     std::to_string(total.bytes) + "/" + std::to_string(total.files));
  }
  rows.push_back(std::to_string(statistics.bytes));
  return rows;
}

struct ByFoldersSessionCase {
  const char* name;
  uint64_t entriesAtOnce;
  bool whole;  // every folder read at first
};

class TMSessionReadByFolders : public ::testing::TestWithParam<ByFoldersSessionCase> {
 protected:
  void SetUp() override {
    const std::string json = byFoldersSessionJson();
    whole = wholeTreeOfExport(json);
    path = files.pathOf("scan.ncdu");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    TMTreeExportHeader header;
    header.rootPath = "/data";
    ASSERT_TRUE(writeTreeBinaryExport(*whole, header, out));
    std::fclose(out);

    view = std::make_unique<TMTreeMapView>(viewHost, std::make_shared<TMFixedWidthMeasurer>(20), 800, 600);
    TMScanEnvironment environment{queue};
    environment.savedScanEntriesAtOnce = GetParam().entriesAtOnce;
    session = std::make_unique<TMSession>(window, *view, environment);
    session->addObserver(record);
    session->controller().awakeFromNib(TMGlobalQueues::sharedQueues());
    session->importScans({path});
    serveUntil([&] { return session->isShownTreeComplete() && !session->jobs().treeIsRead(); });
    ASSERT_TRUE(session->isShownTreeComplete());
  }
  void TearDown() override { session->removeObserver(record); }

  template <class Done>
  void serveUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline)
      queue->runNextWithin(std::chrono::milliseconds(5));
  }
  // The file types below `url` as the session counts them for the window.
  std::optional<TMTypeStatistics> countedFromFile(const std::string& url) {
    std::optional<TMTypeStatistics> counted;
    bool told = false;
    if (!session->countFileTypesFromFile(
            TMFileURL::fromPath(url), [](double) {},
            [&](const TMTypeStatistics* statistics) {
              told = true;
              if (statistics != nullptr) counted = *statistics;
            }))
      return std::nullopt;
    serveUntil([&] { return told; });
    session->stopCountingFileTypes();  // nothing told later to what is gone
    EXPECT_TRUE(counted) << "the count from the file failed";
    return counted;
  }

  struct Record : TMSessionObserver {
    void saveEnded(const std::string&, bool saved, const std::string& error) override {
      saves.push_back(saved ? "saved" : error);
    }
    std::vector<std::string> saves;
  } record;
  TMTemporaryTree files;
  std::string path;
  std::shared_ptr<TMFileTree> whole;
  std::shared_ptr<TMManualMainQueue> queue = std::make_shared<TMManualMainQueue>();
  TMFakeWindowHost window;
  TMFakeViewHost viewHost;
  std::unique_ptr<TMTreeMapView> view;
  std::unique_ptr<TMSession> session;
};

TEST_P(TMSessionReadByFolders, CountsTheFileTypesOfTheWholeScan) {
  EXPECT_EQ(session->controller().holdsFoldersNotRead(), !GetParam().whole);
  for (const char* below : {"", "/mid"}) {
    const TMFileTree* folder = *below ? childNamed(whole.get(), below + 1) : whole.get();
    const std::optional<TMTypeStatistics> counted = countedFromFile(std::string("/data") + below);
    // A tree held whole is counted in memory, not from its file.
    ASSERT_EQ(counted.has_value(), !GetParam().whole) << below;
    if (counted) {
      EXPECT_EQ(rowsOf(*counted), rowsOf(typeStatisticsOf(*folder))) << below;
    }
  }
  // Once every folder is read, the tree in memory is counted.
  bool read = false;
  session->controller().readFoldersAlong({{"big"}, {"mid", "deep"}, {"small"}}, [&] { read = true; });
  serveUntil([&] { return read || GetParam().whole; });
  EXPECT_FALSE(session->controller().holdsFoldersNotRead());
  EXPECT_FALSE(countedFromFile("/data"));
}

TEST_P(TMSessionReadByFolders, ReadsAFolderSelectedAndSavesOnlyOnceEveryFolderIsRead) {
  const TMFileTree& root = *session->shownTree();
  const TMFileTree* mid = childNamed(&root, "mid");
  ASSERT_NE(mid, nullptr);
  // Read largest first: "big" before "mid".
  EXPECT_EQ(mid->asFolder()->wasCutShort(), !GetParam().whole);
  EXPECT_EQ(mid->diskSize(), childNamed(whole.get(), "mid")->diskSize()) << "its size before it is read";
  view->selectURL(TMFileURL::fromPath("/data/mid"));
  serveUntil([&] { return !mid->asFolder()->wasCutShort() && !session->jobs().treeIsRead(); });
  ASSERT_FALSE(mid->asFolder()->wasCutShort());
  EXPECT_EQ(mid->asFolder()->children()->count(), 21u);
  // The largest folders below it are read with it.
  const TMFileTree* deep = childNamed(mid, "deep");
  ASSERT_NE(deep, nullptr);
  EXPECT_FALSE(deep->asFolder()->wasCutShort());

  session->saveScan(files.pathOf("saved.json"));
  serveUntil([&] { return !record.saves.empty(); });
  // "small" is still not read unless everything was.
  EXPECT_EQ(record.saves, std::vector<std::string>{GetParam().whole ? "saved"
                                                                    : "some folders of the saved scan are not read yet"});
}

std::vector<std::string> largestRowsOf(const TMFileTree& tree) {
  std::vector<std::string> rows;
  for (const TMLargeFile& file : largestFiles(tree, 3))
    rows.push_back(file.folder + "/" + std::string(file.file->filename()) + " " + std::to_string(file.file->diskSize()));
  return rows;
}

std::vector<std::string> matchRowsOf(const TMSearchResult& result) {
  std::vector<std::string> rows;
  for (const TMSearchMatch& match : result.matches) rows.push_back(match.path + " " + std::to_string(match.node->diskSize()));
  return rows;
}

TEST_P(TMSessionReadByFolders, FindsTheLargestFilesAndTheMatchesOfTheWholeScan) {
  const auto search = [&](const char* part) {
    const auto matches = [part](std::string_view name) { return name.find(part) != std::string_view::npos; };
    const std::vector<std::string> expected = matchRowsOf(searchTree(*whole, matches));
    const bool inPart = session->controller().holdsFoldersNotRead();
    session->startSearch(matches);
    // Searched in memory at once, then again once the folders are read.
    serveUntil([&] { return session->searchResult() && matchRowsOf(*session->searchResult()) == expected; });
    ASSERT_TRUE(session->searchResult()) << part;
    EXPECT_EQ(matchRowsOf(*session->searchResult()), expected) << part;
    // The walk through the file counted every match, read or not.
    serveUntil([&] { return !inPart || session->matchesInFile(); });
    EXPECT_EQ(session->matchesInFile(), inPart ? std::optional<uint64_t>(expected.size()) : std::nullopt) << part;
  };
  // First "deep": a folder inside "mid" (not read yet), whose files do not match.
  search("deep");

  bool read = false;
  const bool started = session->readLargestFromFile(TMFileURL::fromPath("/data"), 3, {}, false, [&] { read = true; });
  EXPECT_EQ(started, !GetParam().whole);
  serveUntil([&] { return (read || !started) && !session->jobs().treeIsRead(); });
  EXPECT_EQ(largestRowsOf(*session->shownTree()), largestRowsOf(*whole));

  search("2");
}

// The scan saved earlier: "s-huge.iso" (not read at first) since grew,
// "mid/deep/d-huge.mkv" is new, and "top0" (read at first) shrank.
std::string byFoldersSessionEarlier() {
  std::string json = byFoldersSessionJson();
  const auto change = [&json](const std::string& from, const std::string& to) {
    const size_t at = json.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    json.replace(at, from.size(), to);
  };
  change(R"({"name":"s-huge.iso","dsize":307200})", R"({"name":"s-huge.iso","dsize":4096})");
  change(R"(,{"name":"d-huge.mkv","dsize":204800})", "");
  change(R"({"name":"top0.jpg","dsize":16384})", R"({"name":"top0.jpg","dsize":65536})");
  return json;
}

TEST_P(TMSessionReadByFolders, ComparesTheWholeScanAndColoursWhatIsRead) {
  const std::string earlier = byFoldersSessionEarlier();
  const std::string savedPath = files.pathOf("earlier.json");
  std::ofstream(savedPath) << earlier;
  const TMTreeComparison expected = compareTrees(*wholeTreeOfExport(earlier), *whole);
  ASSERT_EQ(expected.largest.size(), 3u);
  session->compareWithSavedScan(savedPath);
  serveUntil([&] { return session->comparison() != nullptr; });
  ASSERT_TRUE(session->comparison());
  const TMTreeComparison& got = *session->comparison();
  EXPECT_EQ(std::tie(got.oldTotal, got.newTotal, got.newItems, got.removedItems, got.grownItems, got.shrunkItems),
            std::tie(expected.oldTotal, expected.newTotal, expected.newItems, expected.removedItems,
                     expected.grownItems, expected.shrunkItems));
  ASSERT_EQ(got.largest.size(), expected.largest.size());
  for (size_t i = 0; i < got.largest.size(); ++i) {
    EXPECT_EQ(got.largest[i].path, expected.largest[i].path);
    EXPECT_EQ(got.largest[i].difference(), expected.largest[i].difference()) << expected.largest[i].path;
  }
  // The file read at first keeps its colour; so does a folder not read yet, by its size.
  const TMFileTree* top0 = childNamed(session->shownTree().get(), "top0.jpg");
  ASSERT_NE(top0, nullptr);
  EXPECT_NE(got.nodeChanges->find(*top0), nullptr);
  EXPECT_NE(got.nodeChanges->find(*childNamed(session->shownTree().get(), "small")), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Budgets, TMSessionReadByFolders,
                         ::testing::Values(ByFoldersSessionCase{"the root's entries", 1, false},
                                           ByFoldersSessionCase{"the largest folder", 60, false},
                                           ByFoldersSessionCase{"every entry", 1000, true}),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora::test
