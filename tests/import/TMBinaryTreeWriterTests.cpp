// SPDX-License-Identifier: GPL-3.0-or-later
// One tree written by several writers of one export, folders handed from
// one to another, in the orders threads may take: the export holds the
// tree the steps describe, every folder with the sizes, counts and read
// errors of everything below it, whichever writer ends a folder last.

#include "import/TMBinaryTreeWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

// Steps, each "W op …" for writer W (A, B or C):
//   > name      enter a folder      < leave it       ! it cannot be read
//   f name size a file              ^N hand off the folder last entered as N
//   @N          take over the folder handed off as N
// A enters the root, "r", first; A's writer owns the export.
struct HandOffCase {
  std::string name;
  std::vector<std::string> steps;
};

const HandOffCase kHandOffCases[] = {
    {"a folder handed off ends before its parent is left",
     {"A > r", "A > a", "A f x 10", "A > h", "A ^1", "B @1", "B f y 20", "B <", "A f z 5", "A <", "A <"}},
    {"a folder handed off ends after its parent and the root are left",
     {"A > r", "A > a", "A f x 1", "A > h", "A ^1", "A f z 5", "A <", "A <", "B @1", "B f y 20", "B <"}},
    {"handed off two levels down, the levels between left first",
     {"A > r", "A > a", "A > b", "A f x 4", "A > h", "A ^1", "A <", "A <", "B @1", "B > c", "B f y 3", "B <", "B <",
      "A <"}},
    {"the root handed off", {"A > r", "A ^1", "B @1", "B f y 1", "B > c", "B f z 2", "B <", "B <"}},
    {"handed off again by the writer that took it over",
     {"A > r", "A > h", "A ^1", "B @1", "B > k", "B ^2", "C @2", "C f q 4", "B f w 2", "B <", "A <", "C <"}},
    {"a hand-off taken back: listed where it was entered",
     {"A > r", "A > h", "A ^1", "A @1", "A f y 9", "A > k", "A f z 1", "A <", "A <", "A <"}},
    {"two folders handed off from one, ending in turn",
     {"A > r", "A > h1", "A ^1", "A > h2", "A ^2", "C @2", "C f b 2", "C <", "A f z 1", "A <", "B @1", "B f a 3",
      "B <"}},
    {"a folder that cannot be read, handed off, marks the folders above",
     {"A > r", "A > a", "A > h", "A ^1", "A <", "B @1", "B !", "B <", "A <"}},
};

// What the steps describe: every path, and the sizes of files.
struct DescribedTree {
  std::set<std::string> folders;
  std::map<std::string, uint64_t> files;
  std::set<std::string> unreadable;

  bool isBelow(const std::string& path, const std::string& folder) const {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
  }
};

class TMBinaryTreeWriterHandOffs : public ::testing::TestWithParam<HandOffCase> {};

TEST_P(TMBinaryTreeWriterHandOffs, WriteTheTreeTheStepsDescribe) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  TMBinaryExportWriter first(out);
  std::unique_ptr<TMBinaryExportWriter> second = first.another();
  std::unique_ptr<TMBinaryExportWriter> third = first.another();
  TMBinaryTreeWriter writers[] = {TMBinaryTreeWriter(first), TMBinaryTreeWriter(*second), TMBinaryTreeWriter(*third)};
  std::map<int, std::shared_ptr<TMBinaryTreeWriter::SharedFolder>> handedOff;
  // The same steps followed by path, as the oracle.
  std::vector<std::string> paths[3];
  std::map<int, std::string> handedOffPaths;
  DescribedTree described;

  for (const std::string& step : GetParam().steps) {
    std::istringstream words(step);
    char who = 0;
    std::string op, name;
    uint64_t bytes = 0;
    words >> who >> op >> name >> bytes;
    TMBinaryTreeWriter& writer = writers[who - 'A'];
    std::vector<std::string>& stack = paths[who - 'A'];
    const std::string here = stack.empty() ? "" : stack.back() + "/";
    if (op == ">") {
      writer.enterFolder(name);
      stack.push_back(here + name);
      described.folders.insert(stack.back());
    } else if (op == "<") {
      writer.leaveFolder();
      stack.pop_back();
    } else if (op == "!") {
      writer.markFolderUnreadable();
      described.unreadable.insert(stack.back());
    } else if (op == "f") {
      TMBinaryItem file;
      file.name = name;
      file.asize = file.dsize = bytes;
      writer.addEntry(file);
      described.files[here + name] = bytes;
    } else if (op[0] == '^') {
      handedOff[std::stoi(op.substr(1))] = writer.handOffFolder();
      handedOffPaths[std::stoi(op.substr(1))] = stack.back();
      stack.pop_back();
    } else {
      ASSERT_EQ(op[0], '@') << step;
      writer.continueFolder(handedOff.at(std::stoi(op.substr(1))));
      stack.push_back(handedOffPaths.at(std::stoi(op.substr(1))));
    }
  }
  second->flush();
  third->flush();
  EXPECT_TRUE(writers[0].finish());
  std::fclose(out);
  const std::string exported(buffer, size);
  std::free(buffer);

  const std::map<std::string, TMBinaryItem> items = itemsByPath(exported);
  std::set<std::string> written, expected(described.folders);
  for (const auto& [path, item] : items) written.insert(path);
  for (const auto& [path, bytes] : described.files) expected.insert(path);
  EXPECT_EQ(written, expected);
  for (const std::string& folder : described.folders) {
    if (!items.count(folder)) continue;
    const TMBinaryItem& item = items.at(folder);
    uint64_t bytes = 0, entries = 0;
    bool unreadableBelow = false;
    for (const std::string& path : expected) {
      if (!described.isBelow(path, folder)) continue;
      ++entries;
      bytes += described.files.count(path) ? described.files.at(path) : 0;
      unreadableBelow = unreadableBelow || described.unreadable.count(path);
    }
    EXPECT_EQ(item.cumulativeDsize, bytes) << folder;
    EXPECT_EQ(item.cumulativeAsize, bytes) << folder;
    EXPECT_EQ(item.items, entries) << folder;
    const std::optional<bool> readError =
        described.unreadable.count(folder) ? std::optional(true) : unreadableBelow ? std::optional(false) : std::nullopt;
    EXPECT_EQ(item.readError, readError) << folder;
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, TMBinaryTreeWriterHandOffs, ::testing::ValuesIn(kHandOffCases),
                         caseNamesBy([](const HandOffCase& c) { return c.name; }));

}  // namespace
}  // namespace tilemora::test
