// SPDX-License-Identifier: GPL-3.0-or-later
// The largest files below a folder: how many, in what order, in which folder.

#include <gtest/gtest.h>

#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMLargestFiles.h"
#include "support/TMCaseNames.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

struct LargestCase {
  const char* name;
  const char* start;  // below the scanned /R
  size_t count;
  std::vector<std::string> expected;  // "folder|name" of each, largest first
};

class TMLargestFiles : public ::testing::TestWithParam<LargestCase> {};

TEST_P(TMLargestFiles, KeepsTheLargestWithTheirFolders) {
  const LargestCase& c = GetParam();
  // Equal sizes (b and d1, c and x) come in the order a walk meets them,
  // each folder's children being largest first: D (75 blocks) before a.
  TMFinishedScan scan = scanToEnd(
      "/R", std::make_shared<TMMemoryFileSystem>(E::directory(
                "R", {E::file("a", 50), E::file("b", 30), E::file("c", 5),
                      E::directory("D", {E::file("d1", 30), E::directory("E", {E::file("x", 5), E::file("y", 40)}),
                                         E::directory("empty", {})})})));
  const TMFileTree* start = scan.root.get();
  for (const std::string& name : TMFileURL::fromPath(c.start).pathComponents()) {
    if (name == "/") continue;
    const TMChildList* list = start->asFolder()->children();
    for (uint32_t i = 0; i < list->count(); ++i) {
      if (list->at(i)->filename() == name) start = list->at(i);
    }
  }
  std::vector<std::string> found;
  for (const TMLargeFile& file : largestFiles(*start, c.count))
    found.push_back(file.folder + "|" + std::string(file.file->filename()));
  EXPECT_EQ(found, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, TMLargestFiles,
    ::testing::Values(
        LargestCase{"all of them", "/", 10, {"|a", "D/E|y", "D|d1", "|b", "D/E|x", "|c"}},
        LargestCase{"a tie at the limit keeps the first met", "/", 3, {"|a", "D/E|y", "D|d1"}},
        LargestCase{"below a sub-folder", "/D", 2, {"E|y", "|d1"}},
        LargestCase{"none asked", "/", 0, {}}, LargestCase{"an empty folder", "/D/empty", 5, {}},
        LargestCase{"a file itself", "/a", 5, {"|a"}}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
