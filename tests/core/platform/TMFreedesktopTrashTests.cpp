// SPDX-License-Identifier: GPL-3.0-or-later
// The trash on real trees changed after the "scan": only what the scan saw
// goes, into the trash of its own volume, where a file manager finds it.

#include "core/platform/TMFreedesktopTrash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "support/TMCaseNames.h"
#include "support/TMPrivateMount.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::string fileText(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TMFileIdentity identityOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return {info.st_dev, info.st_ino};
}

// A scanned folder "root" beside a folder "elsewhere" of the same shape,
// which nothing may touch, and the home trash under "data".
class TMTrashTree {
 public:
  TMTrashTree() {
    for (const char* base : {"root", "elsewhere"}) {
      tree.makeFolder(std::string(base) + "/sub/mid");
      tree.makeFile(std::string(base) + "/sub/mid/file", 10);
      tree.makeFile(std::string(base) + "/victim", 100);
    }
    scannedRoot = identityOf(tree.pathOf("root"));
  }
  TMTrashResult trash(const std::string& item, bool folder) const {
    return TMFreedesktopTrash(tree.pathOf("data"), ::getuid())
        .moveToTrash({TMFileURL::fromPath(tree.pathOf("root")), scannedRoot, TMFileURL::fromPath(tree.pathOf(item)),
                      folder});
  }
  bool elsewhereIntact() const {
    return exists(tree.pathOf("elsewhere/victim")) && exists(tree.pathOf("elsewhere/sub/mid/file"));
  }
  void swapForLink(const std::string& folder, const std::string& target) const {
    ASSERT_EQ(::rename(tree.pathOf(folder).c_str(), tree.pathOf(folder + ".real").c_str()), 0);
    tree.makeSymlink(folder, target);
  }

  TMTemporaryTree tree;
  TMFileIdentity scannedRoot;
};

struct TrashCase {
  std::string name;
  std::function<void(const TMTrashTree&)> change;  // made after the scan
  std::string item;
  bool folder;
  std::string refusalContains;  // empty: moved
};

class TMFreedesktopTrashChanges : public ::testing::TestWithParam<TrashCase> {};

TEST_P(TMFreedesktopTrashChanges, MovesOnlyWhatTheScanSaw) {
  const TrashCase& c = GetParam();
  TMTrashTree trashTree;
  if (c.change) c.change(trashTree);
  const TMTrashResult result = trashTree.trash(c.item, c.folder);
  EXPECT_TRUE(trashTree.elsewhereIntact());
  const std::string itemPath = trashTree.tree.pathOf(c.item);
  const std::string name = itemPath.substr(itemPath.rfind('/') + 1);
  const std::string trash = trashTree.tree.pathOf("data/Trash");
  if (c.refusalContains.empty()) {
    ASSERT_TRUE(result.moved) << result.reason;
    EXPECT_FALSE(exists(itemPath));
    EXPECT_TRUE(exists(trash + "/files/" + name));
    EXPECT_NE(fileText(trash + "/info/" + name + ".trashinfo").find("\nPath=" + itemPath + "\n"), std::string::npos);
  } else {
    EXPECT_FALSE(result.moved);
    EXPECT_NE(result.reason.find(c.refusalContains), std::string::npos) << result.reason;
    EXPECT_FALSE(exists(trash + "/info/" + name + ".trashinfo"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Trees, TMFreedesktopTrashChanges,
    ::testing::Values(
        TrashCase{"a file", nullptr, "root/sub/mid/file", false, ""},
        TrashCase{"a folder", nullptr, "root/sub", true, ""},
        TrashCase{"the scanned folder itself", nullptr, "root", true, ""},
        TrashCase{"a folder on the path swapped for a link",
                  [](const TMTrashTree& t) { t.swapForLink("root/sub", "../elsewhere/sub"); }, "root/sub/mid/file",
                  false, "/root/sub has changed on disk since the scan"},
        TrashCase{"the scanned folder swapped for a link",
                  [](const TMTrashTree& t) { t.swapForLink("root", "elsewhere"); }, "root/victim", false,
                  "/root has changed on disk since the scan"},
        TrashCase{"the scanned folder swapped for a link, itself asked for",
                  [](const TMTrashTree& t) { t.swapForLink("root", "elsewhere"); }, "root", true, "/root has changed"},
        TrashCase{"a file replaced by a folder",
                  [](const TMTrashTree& t) {
                    ::unlink(t.tree.pathOf("root/victim").c_str());
                    t.tree.makeFolder("root/victim");
                  },
                  "root/victim", false, "/root/victim has changed"},
        TrashCase{"a folder replaced by a file",
                  [](const TMTrashTree& t) {
                    TMTemporaryTree::removeRecursively(AT_FDCWD, t.tree.pathOf("root/sub/mid").c_str());
                    t.tree.makeFile("root/sub/mid", 1);
                  },
                  "root/sub/mid", true, "/root/sub/mid has changed"},
        TrashCase{"a file replaced by a link",
                  [](const TMTrashTree& t) {
                    ::unlink(t.tree.pathOf("root/victim").c_str());
                    t.tree.makeSymlink("root/victim", "../elsewhere/victim");
                  },
                  "root/victim", false, "/root/victim has changed"},
        TrashCase{"an item gone", [](const TMTrashTree& t) { ::unlink(t.tree.pathOf("root/victim").c_str()); },
                  "root/victim", false, "/root/victim has changed"},
        TrashCase{"an item outside the scanned folder", nullptr, "elsewhere/victim", false,
                  "is not inside the scanned folder"}),
    caseNamesByName);

// Names that clash in the trash, and names that are no text, keep where
// they came from, so that each can be restored.
TEST(TMFreedesktopTrash, ClashingAndOddNamesEachKeepTheirOwnRecord) {
  TMTrashTree trashTree;
  const std::string odd = "caf\xE9\nname";
  trashTree.tree.makeFile("root/" + odd, 10);
  trashTree.tree.makeFile("root/sub/victim", 10);
  for (const char* item : {"root/victim", "root/sub/victim"}) ASSERT_TRUE(trashTree.trash(item, false).moved);
  ASSERT_TRUE(trashTree.trash("root/" + odd, false).moved);
  const std::string trash = trashTree.tree.pathOf("data/Trash");
  EXPECT_NE(fileText(trash + "/info/victim.trashinfo").find("/root/victim\n"), std::string::npos);
  EXPECT_NE(fileText(trash + "/info/victim.2.trashinfo").find("/root/sub/victim\n"), std::string::npos);
  EXPECT_TRUE(exists(trash + "/files/victim.2"));
  EXPECT_NE(fileText(trash + "/info/" + odd + ".trashinfo").find("/root/caf%E9%0Aname\n"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(::stat((trash + "/info/victim.trashinfo").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A folder on the path swapped for a link and back, as fast as it goes,
// while its file is trashed again and again: what goes is always the
// scanned tree's, never the file the link leads to.
TEST(TMFreedesktopTrash, AFolderSwappedForALinkInALoopNeverLeadsOutside) {
  TMTrashTree trashTree;
  const TMTemporaryTree& tree = trashTree.tree;
  tree.makeSymlink("root/sub-link", "../elsewhere/sub");
  const int realSub = ::open(tree.pathOf("root/sub").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(realSub, 0);
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    while (!done.load())
      ::renameat2(AT_FDCWD, tree.pathOf("root/sub").c_str(), AT_FDCWD, tree.pathOf("root/sub-link").c_str(),
                  RENAME_EXCHANGE);
  });
  int moved = 0, refused = 0;
  for (int attempt = 0; attempt < 400; ++attempt) {
    ::close(::openat(realSub, "mid/file", O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    const TMTrashResult result = trashTree.trash("root/sub/mid/file", false);
    (result.moved ? moved : refused)++;
  }
  done = true;
  swapper.join();
  ::close(realSub);
  EXPECT_TRUE(trashTree.elsewhereIntact());
  EXPECT_GT(moved, 0);
  EXPECT_GT(refused, 0);
}

// Another file system, mounted in a private namespace: its items go to the
// trash at its top, never to the home trash by a copy.
struct VolumeTrashCase {
  std::string name;
  std::function<void(const std::string& top)> prepare;
  std::string trashFolder;  // relative to the top; empty: refused
};

class TMFreedesktopVolumeTrash : public ::testing::TestWithParam<VolumeTrashCase> {};

TEST_P(TMFreedesktopVolumeTrash, UsesTheVolumesOwnTrashOrRefuses) {
  TMTemporaryTree tree;
  tree.makeFolder("volume");
  const std::string top = tree.pathOf("volume");
  const std::string uid = std::to_string(::getuid());
  const VolumeTrashCase& c = GetParam();
  // 1: moved where expected; 2: refused and kept; 0: anything else.
  const std::optional<uint64_t> outcome = withBindMounts({{"", top}}, [&]() -> uint64_t {
    ::mkdir((top + "/scanned").c_str(), 0755);
    ::close(::open((top + "/scanned/item").c_str(), O_WRONLY | O_CREAT, 0644));
    if (c.prepare) c.prepare(top);
    const TMTrashResult result = TMFreedesktopTrash(tree.pathOf("data"), ::getuid())
                                     .moveToTrash({TMFileURL::fromPath(top + "/scanned"), identityOf(top + "/scanned"),
                                                   TMFileURL::fromPath(top + "/scanned/item"), false});
    if (c.trashFolder.empty()) return !result.moved && exists(top + "/scanned/item") ? 2 : 0;
    const std::string trash = top + "/" + c.trashFolder + uid;
    return result.moved && exists(trash + "/files/item") &&
                   fileText(trash + "/info/item.trashinfo").find("\nPath=scanned/item\n") != std::string::npos
               ? 1
               : 0;
  });
  if (!outcome) GTEST_SKIP() << "mounting in a private namespace is not permitted here (needs CAP_SYS_ADMIN)";
  EXPECT_EQ(*outcome, c.trashFolder.empty() ? 2u : 1u);
  EXPECT_FALSE(exists(tree.pathOf("data/Trash/files/item")));
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, TMFreedesktopVolumeTrash,
    ::testing::Values(
        VolumeTrashCase{"no trash yet", nullptr, ".Trash-"},
        VolumeTrashCase{"a shared sticky trash", [](const std::string& top) {
                          ::mkdir((top + "/.Trash").c_str(), 01777);
                          ::chmod((top + "/.Trash").c_str(), 01777);
                        },
                        ".Trash/"},
        VolumeTrashCase{"a shared trash without the sticky bit",
                        [](const std::string& top) { ::mkdir((top + "/.Trash").c_str(), 0777); }, ".Trash-"},
        VolumeTrashCase{"a shared trash that is a link",
                        [](const std::string& top) {
                          ::mkdir((top + "/elsewhere").c_str(), 01777);
                          ASSERT_EQ(::symlink("elsewhere", (top + "/.Trash").c_str()), 0);
                        },
                        ".Trash-"},
        VolumeTrashCase{"a user's trash that is a link",
                        [](const std::string& top) {
                          ::mkdir((top + "/elsewhere").c_str(), 0700);
                          ASSERT_EQ(::symlink("elsewhere", (top + "/.Trash-" + std::to_string(::getuid())).c_str()), 0);
                        },
                        ""},
        VolumeTrashCase{"a user's trash that is a file",
                        [](const std::string& top) {
                          ::close(::open((top + "/.Trash-" + std::to_string(::getuid())).c_str(), O_WRONLY | O_CREAT, 0600));
                        },
                        ""}),
    caseNamesByName);

// What went to the trash, a file manager lists and restores (GIO's own
// command, with the trash service of gvfs on a private session bus).
TEST(TMFreedesktopTrash, AFileManagerListsAndRestoresWhatWent) {
  if (std::system("command -v gio >/dev/null && test -x /usr/libexec/gvfsd-trash && command -v dbus-run-session >/dev/null") != 0)
    GTEST_SKIP() << "gio, gvfs's trash service or dbus-run-session is not installed";
  TMTrashTree trashTree;
  ASSERT_TRUE(trashTree.trash("root/victim", false).moved);
  ASSERT_TRUE(trashTree.trash("root/sub", true).moved);
  const std::string environment = "HOME=" + trashTree.tree.pathOf("data") + " XDG_DATA_HOME=" + trashTree.tree.pathOf("data");
  const std::string command = environment + " timeout 60 dbus-run-session -- sh -c 'gio trash --list && "
                              "gio trash --restore trash:///victim && gio trash --restore trash:///sub' 2>/dev/null";
  std::FILE* output = ::popen(command.c_str(), "r");
  ASSERT_NE(output, nullptr);
  std::string listed;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, output)) listed.append(buffer, n);
  EXPECT_EQ(::pclose(output), 0) << listed;
  EXPECT_NE(listed.find("trash:///victim\t" + trashTree.tree.pathOf("root/victim")), std::string::npos) << listed;
  EXPECT_NE(listed.find("trash:///sub\t" + trashTree.tree.pathOf("root/sub")), std::string::npos) << listed;
  EXPECT_TRUE(exists(trashTree.tree.pathOf("root/victim")));
  EXPECT_TRUE(exists(trashTree.tree.pathOf("root/sub/mid/file")));
}

}  // namespace
}  // namespace tilemora::test
