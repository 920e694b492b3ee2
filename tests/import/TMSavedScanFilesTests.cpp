// SPDX-License-Identifier: GPL-3.0-or-later
// Saved scans as files: compressed or not, written from a tree in memory,
// several read as one map.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "TMTreeChildren.h"
#include "core/filetree/TMFileTreeBuilder.h"
#include "core/filetree/TMFolderTree.h"
#include "import/TMCompressedStream.h"
#include "import/TMNcduImport.h"
#include "import/TMScanHistory.h"
#include "import/TMScanOrigins.h"
#include "core/filetree/TMUtf8.h"
#include "import/TMTreeExport.h"
#include "core/filetree/TMVolume.h"
#include "support/TMCaseNames.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMPrivateMount.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

const std::string kSample =
    R"([1,2,{"progname":"t","timestamp":1700000000},[{"name":"/home/u"},)"
    R"([{"name":"d\udcff"},{"name":"f","dsize":4096,"mtime":1600000000}],)"
    R"([{"name":"locked","read_error":true}],{"name":"g","dsize":512}]])";

// Runs `write` on a stream to memory and answers what it wrote.
template <class Write>
std::string written(Write&& write) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  write(out);
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

std::string compressed(const std::string& text, TMCompression compression) {
  return written([&](std::FILE* out) {
    std::FILE* stream = openCompressing(out, compression);
    std::fwrite(text.data(), 1, text.size(), stream);
    EXPECT_EQ(std::fclose(stream), 0);
  });
}

TMImportResult importBytes(const std::string& bytes) {
  std::FILE* input = ::fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
  auto result = importNcduExport(input);
  std::fclose(input);
  return result;
}

struct CompressionCase {
  const char* name;
  const char* fileName;
  std::string firstBytes;  // what the file begins with
};

class TMSavedScanCompression : public ::testing::TestWithParam<CompressionCase> {};

// Written by the name's ending, read by the first bytes; cut short, an error.
TEST_P(TMSavedScanCompression, RoundTripsAndRefusesWhatIsCutShort) {
  const std::string file = compressed(kSample, compressionForName(GetParam().fileName));
  EXPECT_EQ(file.substr(0, GetParam().firstBytes.size()), GetParam().firstBytes);
  auto whole = importBytes(file);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(whole)) << std::get<TMImportError>(whole).text();
  EXPECT_EQ(std::get<TMImportedScan>(whole).root->diskSize(), 4608u);
  // Two streams one after the other read as one, as the tools read them.
  const size_t half = kSample.size() / 2;
  const CompressionCase& kind = GetParam();
  auto joined = importBytes(compressed(kSample.substr(0, half), compressionForName(kind.fileName)) +
                            compressed(kSample.substr(half), compressionForName(kind.fileName)));
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(joined)) << std::get<TMImportError>(joined).text();
  auto cut = importBytes(file.substr(0, file.size() - 6));
  ASSERT_TRUE(std::holds_alternative<TMImportError>(cut));
  EXPECT_NE(std::get<TMImportError>(cut).message.find(kind.firstBytes == "[" ? "ends before" : "cut short"),
            std::string::npos)
      << std::get<TMImportError>(cut).text();
}

INSTANTIATE_TEST_SUITE_P(Endings, TMSavedScanCompression,
                         ::testing::Values(CompressionCase{"zst", "scan.json.zst", "\x28\xB5\x2F\xFD"},
                                           CompressionCase{"gz", "scan.json.gz", "\x1F\x8B"},
                                           CompressionCase{"plain", "scan.json", "["}),
                         caseNamesByName);

TEST(TMTreeExport, WritesWhatTheImportReadsBackTheSame) {
  auto first = importBytes(kSample);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(first));
  const TMTreeExportHeader header{"/home/u", "tilemora", "1.0", 1700000000, "host"};
  const TMFileTree& root = *std::get<TMImportedScan>(first).root;
  const std::string text = written([&](std::FILE* out) { EXPECT_TRUE(writeTreeExport(root, header, out)); });
  auto again = importBytes(text);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(again)) << std::get<TMImportError>(again).text() << text;
  const TMImportedScan& scan = std::get<TMImportedScan>(again);
  EXPECT_EQ(scan.hostname, "host");
  EXPECT_EQ(scan.timestamp, 1700000000);
  EXPECT_EQ(scan.rootComponents, (std::vector<std::string>{"/", "home", "u"}));
  EXPECT_EQ(scan.unreadableFolders, 1u);
  // The name's byte, the size and the date come back as they were.
  const TMFileTree* folder = childrenOf(*scan.root).front();
  EXPECT_EQ(folder->filename(), "d\xff");
  EXPECT_EQ(childrenOf(*folder).front()->modifiedTime(), 1600000000u);
  // Written again, it is the same text.
  EXPECT_EQ(written([&](std::FILE* out) { writeTreeExport(*scan.root, header, out); }), text);
}

struct SavedPlaceCase {
  const char* name;
  std::string path;  // scanned
  bool volume;       // a mount point: free and unscanned space beside the files
};

class TMSavedScanOfAPlace : public ::testing::TestWithParam<SavedPlaceCase> {};

// A folder's scan and a volume's are kept in the history and listed by
// their path; what is read back is the files, never the volume's space.
TEST_P(TMSavedScanOfAPlace, IsKeptListedAndReadBackWithItsFilesOnly) {
  using E = TMMemoryEntry;
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(
      E::directory("R", {E::file("a", 8), E::directory("d", {E::file("b", 4)})}));
  fileSystem->sizes = {1 << 20, 1 << 19};
  fileSystem->mountPoints = {"/mnt/v"};
  std::shared_ptr<TMFileTree> root = scanToEnd(GetParam().path, fileSystem).root;
  ASSERT_EQ(root->asVolume() != nullptr, GetParam().volume);
  TMTemporaryTree home;
  const TMScanHistory history(home.pathOf("state"));
  std::string error;
  ASSERT_TRUE(history.save(*root, {GetParam().path, "t", "1", 2000, ""}, error)) << error;
  const std::vector<TMScanHistory::Scan> listed = history.scansOf(GetParam().path);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].timestamp, 2000);
  std::FILE* file = std::fopen(listed[0].file.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  auto read = importNcduExport(file);
  std::fclose(file);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(read)) << std::get<TMImportError>(read).text();
  const TMFileTree& again = *std::get<TMImportedScan>(read).root;
  EXPECT_EQ(again.diskSize(), 12u * 512);
  std::vector<std::string> names;
  for (const TMFileTree* child : childrenOf(again)) names.push_back(std::string(child->filename()));
  EXPECT_EQ(names, (std::vector<std::string>{"a", "d"}));
}

INSTANTIATE_TEST_SUITE_P(Places, TMSavedScanOfAPlace,
                         ::testing::Values(SavedPlaceCase{"a folder", "/R", false},
                                           SavedPlaceCase{"a volume", "/mnt/v", true}),
                         caseNamesByName);

// A folder a stopped scan did not finish is partial, not unreadable: the
// saved scan claims no read error for it.
TEST(TMTreeExport, AFolderCutShortIsNoReadError) {
  auto scan = importBytes(kSample);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(scan));
  const TMFileTree& root = *std::get<TMImportedScan>(scan).root;
  const std::string before = written([&](std::FILE* out) { writeTreeExport(root, {}, out); });
  const auto* folder = childrenOf(root).front()->asFolder();
  ASSERT_NE(folder, nullptr);
  folder->markCutShort();
  EXPECT_EQ(written([&](std::FILE* out) { writeTreeExport(root, {}, out); }), before);
  folder->markUnreadable(EACCES);
  EXPECT_NE(written([&](std::FILE* out) { writeTreeExport(root, {}, out); }), before);
}

TEST(TMTreeExport, StopsWhenTold) {
  std::string many = R"([1,2,{},[{"name":"/r"})";
  for (int i = 0; i < 20000; ++i) many += R"(,{"name":"file-)" + std::to_string(i) + R"(","dsize":1})";
  auto scan = importBytes(many + "]]");
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(scan));
  std::stop_source stop;
  stop.request_stop();
  written([&](std::FILE* out) {
    EXPECT_FALSE(writeTreeExport(*std::get<TMImportedScan>(scan).root, {}, out, stop.get_token()));
  });
}

struct LabelCase {
  const char* name;
  const char* hostname;
  const char* fileName;
  const char* label;
};

class TMSavedScanLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(TMSavedScanLabel, NamesTheScanAmongOthers) {
  EXPECT_EQ(savedScanLabel(GetParam().hostname, GetParam().fileName), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    Scans, TMSavedScanLabel,
    ::testing::Values(LabelCase{"host first", "web1", "/x/db.json.zst", "web1"},
                      LabelCase{"file without endings", "", "/x/db.json.zst", "db"},
                      LabelCase{"file without json", "", "db.gz", "db"},
                      LabelCase{"binary export without its ending", "", "/x/nas.ncdu", "nas"},
                      LabelCase{"standard input", "", "-", "standard input"},
                      LabelCase{"host with a slash is not a name", "a/b", "/x/c.json", "c"},
                      LabelCase{"nothing left of the file", "", "/x/.json", ".json"},
                      LabelCase{"dot dot", "..", "..", "saved scan"}),
    caseNamesByName);

TEST(TMSavedScans, SeveralReadAsOneMapUnderTheirOrigins) {
  const std::string web = R"([1,2,{"hostname":"web1","timestamp":1700000500},[{"name":"/"},{"name":"a","dsize":10}]])";
  const std::string db = R"([1,2,{"timestamp":1700000000},[{"name":"/srv"},[{"name":"x","read_error":true}]]])";
  std::vector<std::string> texts{web, compressed(db, TMCompression::kZstd), web};
  std::vector<std::FILE*> files;
  for (std::string& text : texts) files.push_back(::fmemopen(text.data(), text.size(), "r"));
  auto result = importNcduExports({{files[0], "/a/web.json"}, {files[1], "/a/db.json.zst"}, {files[2], "w2.json"}});
  for (std::FILE* file : files) std::fclose(file);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
  const TMImportedScan& scan = std::get<TMImportedScan>(result);
  const std::string root = "db:\u2215srv + web1:\u2215 + web1:\u2215 (2)";
  EXPECT_EQ(scan.rootComponents, (std::vector<std::string>{"/", root}));
  EXPECT_EQ(scan.root->filename(), root);
  EXPECT_EQ(scan.root->diskSize(), 20u);
  EXPECT_EQ(scan.timestamp, 1700000000);  // the oldest
  EXPECT_EQ(scan.unreadableFolders, 1u);
  EXPECT_TRUE(scan.root->asFolder()->holdsUnreadable());
  std::vector<std::string> names;
  for (const TMFileTree* child : childrenOf(*scan.root)) names.emplace_back(child->filename());
  EXPECT_EQ(names, (std::vector<std::string>{"web1:\u2215", "web1:\u2215 (2)", "db:\u2215srv"}));
  // Each folder's paths read from its own scan's origin.
  const TMFileURL base = TMFileURL::fromPathComponents(scan.rootComponents);
  EXPECT_EQ(scan.origins.shownPath(base.appending(names[1]).appending("a")), "web1:/a");
  EXPECT_EQ(scan.origins.shownPath(base.appending(names[2]).appending("x")), "db:/srv/x");

  // A broken one names its file; nothing is shown.
  std::string broken = "[1,2,{},";
  std::FILE* good = ::fmemopen(texts[0].data(), texts[0].size(), "r");
  std::FILE* bad = ::fmemopen(broken.data(), broken.size(), "r");
  auto failure = importNcduExports({{good, "a.json"}, {bad, "b.json"}});
  std::fclose(good);
  std::fclose(bad);
  ASSERT_TRUE(std::holds_alternative<TMImportError>(failure));
  EXPECT_EQ(std::get<TMImportError>(failure).file, "b.json");
}

// Paths below the joined root of three scans, one folder scanned twice.
struct OriginPathCase {
  const char* name;
  const char* path;
  const char* shown;      // as a path
  const char* lastShown;  // the last component as the path bar shows it
};

class TMScanOriginPaths : public ::testing::TestWithParam<OriginPathCase> {};

TEST_P(TMScanOriginPaths, ReadFromTheScansOrigin) {
  TMScanOrigins origins;
  origins.setRoot(TMFileURL::fromPath("/J"));
  origins.add("web1:\u2215", "web1:/");
  origins.add("db:\u2215srv", "db:/srv");
  origins.add("db:\u2215srv (2)", "db:/srv");
  const TMFileURL url = TMFileURL::fromPath(GetParam().path);
  EXPECT_EQ(origins.shownPath(url), GetParam().shown);
  const std::vector<std::string> components = origins.shownComponents(url);
  ASSERT_EQ(components.size(), url.pathComponents().size());
  EXPECT_EQ(components.back(), GetParam().lastShown);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TMScanOriginPaths,
    ::testing::Values(
        OriginPathCase{"the joined root", "/J", "/J", "J"},
        OriginPathCase{"a scans folder", "/J/db:\u2215srv", "db:/srv", "db:/srv"},
        OriginPathCase{"below a scan", "/J/db:\u2215srv/a/b", "db:/srv/a/b", "b"},
        OriginPathCase{"below a scan of a machines root", "/J/web1:\u2215/a", "web1:/a", "a"},
        OriginPathCase{"below the second scan of a folder", "/J/db:\u2215srv (2)/x", "db:/srv/x", "x"},
        OriginPathCase{"a folder of that name elsewhere", "/K/db:\u2215srv/x", "/K/db:\u2215srv/x", "x"},
        OriginPathCase{"a folder no scan has", "/J/other/x", "/J/other/x", "x"}),
    caseNamesByName);

TEST(TMScanOrigins, NamesAFolderAfterTheMachineAndPath) {
  EXPECT_EQ(TMScanOrigins::originOf("vm", {"/", "srv", "t2"}), "vm:/srv/t2");
  EXPECT_EQ(TMScanOrigins::originOf("vm", {"/"}), "vm:/");
  EXPECT_EQ(TMScanOrigins::nameOf("vm:/srv/t2"), "vm:\u2215srv\u2215t2");
  // Too long for a name: the machine, the path's start and its end, whole
  // characters only.
  std::string deep = "vm:";
  for (int i = 0; i < 100; ++i) deep += "/\u00E9";
  deep += "/t2";
  const std::string name = TMScanOrigins::nameOf(deep);
  EXPECT_LE(name.size(), 255u);
  EXPECT_TRUE(name.starts_with("vm:\u2215\u00E9\u2215")) << name;
  EXPECT_TRUE(name.ends_with("\u00E9\u2215t2")) << name;
  EXPECT_NE(name.find("\u2026"), std::string::npos) << name;
  for (size_t at = 0; at < name.size();) {
    const size_t length = validUtf8Length(std::string_view(name).substr(at));
    ASSERT_GT(length, 0u) << "a character cut at byte " << at << ": " << name;
    at += length;
  }
}

struct HistoryCase {
  const char* name;
  int scansOfA;           // saved one after the other, a second apart
  size_t perFolder;
  uint64_t mostBytes;     // in scans' sizes (all are the same size here)
  size_t keptOfA;         // the newest are kept
  size_t keptOfB;         // B's single scan, saved first of all
};

class TMScanHistoryRotation : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(TMScanHistoryRotation, KeepsTheNewestWithinTheLimits) {
  TMTemporaryTree home;
  const TMScanHistory history(home.path() + "/state");
  auto tree = importBytes(kSample);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(tree));
  const TMFileTree& root = *std::get<TMImportedScan>(tree).root;
  std::string error;
  ASSERT_TRUE(history.save(root, {"/b", "t", "1", 1000, ""}, error)) << error;
  for (int i = 0; i < GetParam().scansOfA; ++i)
    ASSERT_TRUE(history.save(root, {"/a", "t", "1", 2000 + i, ""}, error)) << error;
  const uint64_t scanBytes = history.scansOf("/b").at(0).bytes;
  history.prune(GetParam().perFolder, GetParam().mostBytes * scanBytes);
  const auto scansOfA = history.scansOf("/a");
  ASSERT_EQ(scansOfA.size(), GetParam().keptOfA);
  for (size_t i = 0; i < scansOfA.size(); ++i) EXPECT_EQ(scansOfA[i].timestamp, 2000 + GetParam().scansOfA - 1 - int(i));
  EXPECT_EQ(history.scansOf("/b").size(), GetParam().keptOfB);
  // The user's alone: the folder 0700, the files 0600, no temporary file left.
  struct stat info {};
  ASSERT_EQ(::stat(history.folder().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  for (const auto& scan : scansOfA) {
    ASSERT_EQ(::stat(scan.file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
  }
  // What was saved reads back.
  std::FILE* file = std::fopen(scansOfA.at(0).file.c_str(), "r");
  auto back = importNcduExport(file);
  std::fclose(file);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(back));
  EXPECT_EQ(std::get<TMImportedScan>(back).root->diskSize(), root.diskSize());
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TMScanHistoryRotation,
    ::testing::Values(HistoryCase{"under every limit", 3, 10, 100, 3, 1},
                      HistoryCase{"ten per folder when saving", 12, TMScanHistory::kKeptPerFolder, 100, 10, 1},
                      HistoryCase{"by count per folder only", 5, 2, 100, 2, 1},
                      HistoryCase{"by size the oldest first", 5, 10, 3, 3, 0},
                      HistoryCase{"size exactly at the limit", 3, 10, 4, 3, 1}),
    caseNamesByName);

// What stands where the history goes: the history takes only folders of the
// user's alone, follows no link there and changes no mode it did not make.
struct HistoryPlaceCase {
  std::string name;
  std::function<void(const TMTemporaryTree& home)> prepare;  // "state" is the state home
  bool kept;
  bool needsRoot = false;  // to give a folder to another user
};

class TMScanHistoryPlaces : public ::testing::TestWithParam<HistoryPlaceCase> {};

TEST_P(TMScanHistoryPlaces, KeepsScansOnlyInTheUsersOwnFolders) {
  if (GetParam().needsRoot && ::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
  TMTemporaryTree home;
  home.makeFolder("public");
  ::chmod(home.pathOf("public").c_str(), 0755);
  GetParam().prepare(home);
  auto tree = importBytes(kSample);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(tree));
  const size_t publicEntries = TMTemporaryTree::entryCount(home.pathOf("public"));
  const mode_t umaskBefore = ::umask(027);
  std::string error;
  const TMScanHistory history(home.pathOf("state"));
  const bool kept = history.save(*std::get<TMImportedScan>(tree).root, {"/a", "t", "1", 2000, ""}, error);
  EXPECT_EQ(::umask(umaskBefore), mode_t(027));  // saving never touched it
  EXPECT_EQ(kept, GetParam().kept) << error;
  EXPECT_EQ(history.scansOf("/a").size(), GetParam().kept ? 1u : 0u);
  if (!kept) {
    EXPECT_NE(error.find("is not the user's alone"), std::string::npos) << error;
  }
  // A folder of the user's that was there keeps its mode and holds nothing new.
  struct stat info {};
  ASSERT_EQ(::stat(home.pathOf("public").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
  EXPECT_EQ(TMTemporaryTree::entryCount(home.pathOf("public")), publicEntries);
  EXPECT_EQ(TMTemporaryTree::entryCount(home.pathOf("public/history")), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Places, TMScanHistoryPlaces,
    ::testing::Values(
        HistoryPlaceCase{"nothing there yet", [](const TMTemporaryTree&) {}, true},
        HistoryPlaceCase{"the state home a link", [](const TMTemporaryTree& home) {
                           home.makeFolder("real-state");
                           home.makeSymlink("state", "real-state");
                         },
                         true},
        HistoryPlaceCase{"the history a link to a public folder", [](const TMTemporaryTree& home) {
                           home.makeFolder("state/tilemora");
                           home.makeSymlink("state/tilemora/history", "../../public");
                         },
                         false},
        HistoryPlaceCase{"the program's folder a link", [](const TMTemporaryTree& home) {
                           home.makeFolder("state");
                           home.makeFolder("public/history");
                           home.makeSymlink("state/tilemora", "../public");
                           ::chmod(home.pathOf("public/history").c_str(), 0755);
                         },
                         false},
        HistoryPlaceCase{"the history writable by others", [](const TMTemporaryTree& home) {
                           home.makeFolder("state/tilemora/history");
                           ::chmod(home.pathOf("state/tilemora/history").c_str(), 0707);
                         },
                         false},
        HistoryPlaceCase{"the history writable by the group", [](const TMTemporaryTree& home) {
                           home.makeFolder("state/tilemora/history");
                           ::chmod(home.pathOf("state/tilemora/history").c_str(), 0770);
                         },
                         false},
        HistoryPlaceCase{"the history readable by all", [](const TMTemporaryTree& home) {
                           home.makeFolder("state/tilemora/history");
                           ::chmod(home.pathOf("state/tilemora/history").c_str(), 0755);
                         },
                         true},
        HistoryPlaceCase{"the program's folder another user's",
                         [](const TMTemporaryTree& home) {
                           home.makeFolder("state/tilemora");
                           ASSERT_EQ(::chown(home.pathOf("state/tilemora").c_str(), 65534, 65534), 0);
                         },
                         false, true}),
    caseNamesByName);

// A disk that fills up while a scan is saved: the system's own words, and
// nothing left behind.
TEST(TMSavedScanFiles, AFullDiskIsToldAsSuchAndLeavesNothing) {
  TMTemporaryTree tree;
  tree.makeFolder("disk");
  TMFileTreeBuilder builder("big");
  for (int i = 0; i < 50000; ++i) builder.addFile("file-number-" + std::to_string(i), 4096);
  const std::shared_ptr<TMFileTree> root = builder.finish();
  const std::string disk = tree.pathOf("disk");
  const std::optional<uint64_t> outcome = withBindMounts({{"", disk}}, [&]() -> uint64_t {
    std::string error;
    const bool saved = saveTreeExport(*root, {"/big", "t", "1", 1, ""}, disk + "/scan.json", error);
    return !saved && error == "No space left on device" && TMTemporaryTree::entryCount(disk) == 0 ? 1 : 0;
  });
  if (!outcome) GTEST_SKIP() << "mounting in a private namespace is not permitted here (needs CAP_SYS_ADMIN)";
  EXPECT_EQ(*outcome, 1u);
}

// A scan larger than the history may hold in all is not kept, and the
// earlier scans stay.
TEST(TMScanHistory, AScanLargerThanTheLimitIsNotKeptAndSaysSo) {
  TMTemporaryTree home;
  const TMScanHistory history(home.pathOf("state"));
  auto tree = importBytes(kSample);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(tree));
  const TMFileTree& root = *std::get<TMImportedScan>(tree).root;
  std::string error;
  ASSERT_TRUE(history.save(root, {"/a", "t", "1", 1000, ""}, error)) << error;
  const uint64_t scanBytes = history.scansOf("/a").at(0).bytes;
  EXPECT_FALSE(history.save(root, {"/a", "t", "1", 2000, ""}, error, {}, scanBytes / 2));
  EXPECT_NE(error.find("it is not kept"), std::string::npos) << error;
  const auto scans = history.scansOf("/a");
  ASSERT_EQ(scans.size(), 1u);
  EXPECT_EQ(scans[0].timestamp, 1000);
  EXPECT_EQ(TMTemporaryTree::entryCount(history.folder()), 1u);  // no temporary file left
}

}  // namespace
}  // namespace tilemora::test
