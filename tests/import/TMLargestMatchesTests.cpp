// SPDX-License-Identifier: GPL-3.0-or-later
// The largest matches of a saved scan walked through without holding it:
// the same entries, sizes and paths, in the same order, as the largest
// files and the search find in the whole tree read into memory.
#include "core/filetree/TMLargestMatches.h"

#include <gtest/gtest.h>

#include <string>

#include "core/filetree/TMLargestFiles.h"
#include "core/filetree/TMTreeSearch.h"
#include "import/TMBinaryExportImport.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMImportTarget.h"
#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

// Nested folders whose files tie in size across them; "dd" and "deep" are
// folders that match "d" with files that do not.
const std::string kMatchesTree =
    R"([1,2,{},[{"name":"/r"},{"name":"top","dsize":300},[{"name":"a"},{"name":"x1","dsize":100},)"
    R"([{"name":"deep"},{"name":"x2","dsize":50},{"name":"d-file","dsize":100}],{"name":"x3","dsize":100}],)"
    R"([{"name":"dd"},{"name":"y","dsize":100},[{"name":"e"},{"name":"z","dsize":400}]],{"name":"d","dsize":5}]])";

std::string joinedPath(const TMLargestMatch& match) {
  std::string path;
  for (const std::string& folder : match.folders) path += folder + "/";
  return path + match.name;
}

struct MatchesCase {
  const char* name;
  size_t keep;
  const char* part;  // what a name holds to match; null: every file
  bool folders;
};

class TMLargestMatchesWalk : public ::testing::TestWithParam<MatchesCase> {};

TEST_P(TMLargestMatchesWalk, FindsWhatTheWholeTreeGives) {
  const MatchesCase& given = GetParam();
  const std::shared_ptr<TMFileTree> whole = wholeTreeOfExport(kMatchesTree);
  ASSERT_TRUE(whole);
  TMLargestMatches::Accepts accepts;
  if (given.part != nullptr)
    accepts = [part = given.part](std::string_view name) { return name.find(part) != std::string_view::npos; };

  std::vector<std::string> expected;
  if (given.folders) {
    for (const TMSearchMatch& match : searchTree(*whole, accepts).matches)
      expected.push_back(match.path + " " + std::to_string(match.node->diskSize()));
  } else {
    for (const TMLargeFile& file : largestFiles(*whole, 100)) {
      if (accepts && !accepts(file.file->filename())) continue;
      expected.push_back((file.folder.empty() ? "" : file.folder + "/") + std::string(file.file->filename()) + " " +
                         std::to_string(file.file->diskSize()));
    }
  }
  if (expected.size() > given.keep) expected.resize(given.keep);

  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader =
      TMBinaryExportReader::fromBytes(binaryExportOfJson(kMatchesTree), error);
  ASSERT_TRUE(reader) << error;
  TMLargestMatches largest(given.keep, accepts, given.folders);
  uint64_t total = 0;
  uint64_t lengths = 0;
  TMImportTarget target(total, lengths, [&largest](const TMImportedScan&) -> TMTreeSink& { return largest; });
  ASSERT_FALSE(readBinaryExport(*reader, target, {}));
  std::vector<std::string> got;
  for (const TMLargestMatch& match : largest.largest()) got.push_back(joinedPath(match) + " " + std::to_string(match.size));
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Walks, TMLargestMatchesWalk,
    ::testing::Values(MatchesCase{"the three largest files", 3, nullptr, false},
                      MatchesCase{"every file, ties in walk order", 100, nullptr, false},
                      MatchesCase{"none kept", 0, nullptr, false},
                      MatchesCase{"files and folders named with d", 100, "d", true},
                      MatchesCase{"the two largest named with d", 2, "d", true},
                      MatchesCase{"files named with x only", 100, "x", false}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
