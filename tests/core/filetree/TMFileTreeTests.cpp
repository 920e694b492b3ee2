// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filetree/TMFileTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <vector>

#include "core/filetree/TMChildList.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMNodeArena.h"

#include <unistd.h>

#include <cstring>
#include "core/filetree/TMSpaceNodes.h"
#include "core/filetree/TMVolume.h"
#include "core/filetree/TMUtf8.h"

#include "support/TMCaseNames.h"

namespace tilemora {
namespace {

std::string dumpOf(const TMFileTree& node) {
  char* text = nullptr;
  size_t length = 0;
  std::FILE* stream = open_memstream(&text, &length);
  node.dumpToFile(stream);
  std::fclose(stream);
  std::string line(text, length);
  std::free(text);
  return line;
}

TEST(TmFileTreeComparer, SortsLargestFirstAsUnsigned) {
  TMNodeArena arena;
  std::vector<TMFileTree*> nodes;
  for (uint64_t size : {uint64_t(5), uint64_t(700), uint64_t(0), uint64_t(700), uint64_t(1) << 63})
    nodes.push_back(TMFileTree::create<TMFileTree>(arena, "n", size));
  std::sort(nodes.begin(), nodes.end(),
            [](TMFileTree* a, TMFileTree* b) { return TmFileTreeComparer(*a, *b) < 0; });
  std::vector<uint64_t> sizes;
  for (TMFileTree* node : nodes) sizes.push_back(node->diskSize());
  EXPECT_EQ(sizes, (std::vector<uint64_t>{uint64_t(1) << 63, 700, 700, 5, 0}));
  EXPECT_EQ(TmFileTreeComparer(*nodes[1], *nodes[2]), 0);
}

TEST(TMFileTree, DumpsOneRecordLineWithTheFullSize) {
  TMNodeArena arena;
  auto* node = TMFileTree::create<TMFileTree>(arena, "movie.mkv", 5000000000);
  char expected[128];
  std::snprintf(expected, sizeof expected, "p%p [label=\"5000000000|movie.mkv\" shape=record]\n",
                static_cast<void*>(node));
  EXPECT_EQ(dumpOf(*node), expected);
}

struct EscapeCase {
  const char* name;
  const char* label;
};

class TMGraphvizRecordText : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(TMGraphvizRecordText, EscapesWhatWouldBreakARecord) {
  EXPECT_EQ(graphvizRecordText(GetParam().name), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    OddNames, TMGraphvizRecordText,
    ::testing::Values(EscapeCase{"plain name", "plain name"},
                      EscapeCase{"say \"hi\"", "say \\\"hi\\\""},
                      EscapeCase{"back\\slash", "back\\\\slash"}, EscapeCase{"a|b", "a\\|b"},
                      EscapeCase{"{x}", "\\{x\\}"}, EscapeCase{"<port>", "\\<port\\>"},
                      EscapeCase{"two\nlines", "two\\nlines"},
                      EscapeCase{"tab\there", "tab\\\\x09here"},
                      EscapeCase{"bad\xFF" "byte", "bad\\\\xFFbyte"},
                      EscapeCase{"cut\xE2\x82", "cut\\\\xE2\\\\x82"},
                      EscapeCase{"caf\xC3\xA9 \xF0\x9F\x93\x81", "caf\xC3\xA9 \xF0\x9F\x93\x81"},
                      EscapeCase{"overlong\xC0\xAF", "overlong\\\\xC0\\\\xAF"}),
    test::caseNamesBy([](const EscapeCase& c) { return test::spelledOut(c.name); }));

// A name for a terminal: nothing in it can steer the terminal.
class TMPrintableName : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(TMPrintableName, EscapesControlsAndInvalidBytes) { EXPECT_EQ(printableName(GetParam().name), GetParam().label); }

INSTANTIATE_TEST_SUITE_P(
    OddNames, TMPrintableName,
    ::testing::Values(EscapeCase{"plain name", "plain name"},
                      EscapeCase{"a\nb\xFF\xC3\xA9", "a\\x0Ab\\xFF\xC3\xA9"},
                      EscapeCase{"title\x1B]0;pwned\x07", "title\\x1B]0;pwned\\x07"},
                      EscapeCase{"del\x7F", "del\\x7F"},
                      EscapeCase{"csi\xC2\x9B" "2J", "csi\\xC2\\x9B2J"},
                      EscapeCase{"nbsp\xC2\xA0kept", "nbsp\xC2\xA0kept"},
                      EscapeCase{"back\\slash", "back\\\\slash"},
                      EscapeCase{"cut\xE2\x82", "cut\\xE2\\x82"},
                      EscapeCase{"caf\xC3\xA9 \xF0\x9F\x93\x81", "caf\xC3\xA9 \xF0\x9F\x93\x81"}),
    test::caseNamesBy([](const EscapeCase& c) { return test::spelledOut(c.name); }));

// A path as a shell reads it back, whatever its bytes.
class TMShellQuoted : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(TMShellQuoted, QuotesOnlyWhatTheShellWouldRead) { EXPECT_EQ(shellQuoted(GetParam().name), GetParam().label); }

INSTANTIATE_TEST_SUITE_P(
    Paths, TMShellQuoted,
    ::testing::Values(EscapeCase{"/home/u/notes-2.txt", "/home/u/notes-2.txt"},
                      EscapeCase{"/home/u/caf\xC3\xA9", "/home/u/caf\xC3\xA9"},
                      EscapeCase{"/home/u/my file", "'/home/u/my file'"},
                      EscapeCase{"/home/u/it's $HOME", "'/home/u/it'\\''s $HOME'"},
                      EscapeCase{"/home/u/caf\xE9.txt", "$'/home/u/caf\\xe9.txt'"},
                      EscapeCase{"/a/two\nlines", "$'/a/two\\x0alines'"},
                      EscapeCase{"/a/it's\x7F\\", "$'/a/it\\'s\\x7f\\\\'"}),
    test::caseNamesBy([](const EscapeCase& c) { return test::spelledOut(c.name); }));

TEST(TMFileTree, FilesAndFoldersCannotMeasureProgress) {
  TMNodeArena arena;
  EXPECT_EQ(TMFileTree::create<TMFileTree>(arena, "f", 1)->advancementPercentage(), -1.0);
  EXPECT_EQ(TMFileTree::create<TMFolderTree>(arena, "d")->advancementPercentage(), -1.0);
}

TEST(TMSpaceNodes, TakeLocalizedNamesAndTheUnscannedSizeIsReplaced) {
  TMNodeArena arena;
  auto* free = TMEmptyNode::initWithFileSize(arena, 42);
  EXPECT_EQ(free->filename(), "Free space");
  EXPECT_EQ(free->diskSize(), 42u);

  auto* unscanned = TMUnscannedTree::init(arena);
  EXPECT_EQ(unscanned->filename(), "Unscanned space");
  EXPECT_EQ(unscanned->diskSize(), 0u);
  unscanned->updateDiskSize(0);
  EXPECT_EQ(unscanned->diskSize(), 0u);
  unscanned->updateDiskSize(900);
  unscanned->updateDiskSize(300);
  EXPECT_EQ(unscanned->diskSize(), 300u);
}

// Each class places its name by its kind: right after the kind byte for
// those without fields of their own (even inside the object's padding),
// after the fields for the others. Names of every short length, side by
// side in one arena, must read back whole and leave the sizes untouched.
struct KindCase {
  std::string name;
  TMNodeKind kind;
  std::function<TMFileTree*(TMNodeArena&, const std::string&)> make;
};

class TMFileTreeKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(TMFileTreeKinds, KeepNamesAndSizesApartAndAnswerTheirViews) {
  TMNodeArena arena;
  std::vector<std::pair<TMFileTree*, std::string>> made;
  for (size_t length = 0; length <= 24; ++length) {
    std::string name(length, char('a' + length % 26));
    made.emplace_back(GetParam().make(arena, name), name);
  }
  for (const auto& [node, name] : made) {
    EXPECT_EQ(node->filename(), name);
    EXPECT_EQ(node->kind(), GetParam().kind);
    EXPECT_EQ(node->asFolder() != nullptr, GetParam().kind == TMNodeKind::Folder);
    EXPECT_EQ(node->asVolume() != nullptr, GetParam().kind == TMNodeKind::Volume);
  }
  EXPECT_EQ(made.back().first->diskSize(), GetParam().kind == TMNodeKind::File ? 0xFFFFFFFFFFFFFFFFu : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, TMFileTreeKinds,
    ::testing::Values(
        KindCase{"file", TMNodeKind::File,
                 [](TMNodeArena& a, const std::string& n) -> TMFileTree* {
                   return TMFileTree::create<TMFileTree>(a, n, 0xFFFFFFFFFFFFFFFFu);
                 }},
        KindCase{"folder", TMNodeKind::Folder,
                 [](TMNodeArena& a, const std::string& n) -> TMFileTree* { return TMFileTree::create<TMFolderTree>(a, n); }},
        KindCase{"volume", TMNodeKind::Volume,
                 [](TMNodeArena& a, const std::string& n) -> TMFileTree* { return TMFileTree::create<TMVolume>(a, n); }},
        KindCase{"free_space", TMNodeKind::EmptySpace,
                 [](TMNodeArena& a, const std::string& n) -> TMFileTree* { return TMFileTree::create<TMEmptyNode>(a, n, 0); }},
        KindCase{"unscanned_space", TMNodeKind::UnscannedSpace,
                 [](TMNodeArena& a, const std::string& n) -> TMFileTree* {
                   return TMFileTree::create<TMUnscannedTree>(a, n);
                 }}),
    test::caseNamesByName);

TEST(TMNodeArena, KeepsNamesAsRawBytesUpTo255) {
  TMNodeArena arena;
  std::string longName(255, 'n');
  longName[100] = '\xFE';
  longName[200] = '\n';
  auto* node = TMFileTree::create<TMFileTree>(arena, longName, 0);
  EXPECT_EQ(node->filename(), longName);
  EXPECT_EQ(std::strlen(node->filenameCString()), 255u);
}

}  // namespace
}  // namespace tilemora

namespace tilemora {
namespace {

// Resident memory of this process, from /proc.
size_t residentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  unsigned long size = 0, resident = 0;
  if (statm != nullptr) {
    if (std::fscanf(statm, "%lu %lu", &size, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return size_t(resident) * size_t(sysconf(_SC_PAGESIZE));
}

TEST(TMNodeArena, GivesItsMemoryBackToTheSystemWhenItGoes) {
  const size_t before = residentBytes();
  {
    TMNodeArena arena;
    for (int i = 0; i < (64 << 20) / 64; ++i) std::memset(arena.allocate(64, 8), 1, 64);
    EXPECT_GE(residentBytes(), before + (60 << 20));
  }
  // The 64 MiB are gone; AddressSanitizer may keep its eighth as shadow.
  EXPECT_LT(residentBytes(), before + (12 << 20));
}

TEST(TMNodeArena, NamesEveryNodeByFourBytesInListsOfAnySize) {
  // Children enough to fill several commit steps, and a list larger than one.
  TMNodeArena arena;
  auto* folder = TMFileTree::create<TMFolderTree>(arena, "folder");
  const uint32_t count = 300000;
  TMChildList* list = TMChildList::allocateIn(arena, count);
  std::vector<TMFileTree*> made;
  for (uint32_t i = 0; i < count; ++i) {
    made.push_back(TMFileTree::create<TMFileTree>(arena, "file" + std::to_string(i), i));
    list->setUnpublished(i, made.back());
  }
  list->setUnpublishedCount(count);
  EXPECT_GT(arena.reservedBytes(), size_t(8) << 20);
  for (uint32_t i : {0u, 1u, count / 2, count - 1}) {
    EXPECT_EQ(list->at(i), made[i]);
    EXPECT_EQ(list->at(i)->filename(), "file" + std::to_string(i));
  }
  list->removeAt(0);
  EXPECT_EQ(list->at(0), made[1]);
  EXPECT_EQ(list->count(), count - 1);
  EXPECT_EQ(TMNodeArena::at(arena.base(), TMNodeArena::referenceTo(arena.base(), folder)),
            reinterpret_cast<const char*>(folder));
}

}  // namespace
}  // namespace tilemora
