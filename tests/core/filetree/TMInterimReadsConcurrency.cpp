// SPDX-License-Identifier: GPL-3.0-or-later
// A scan writes its tree while another thread walks it, as the window does
// when it builds interim layouts. Run under ThreadSanitizer, this proves the
// child lists and sizes are published without data races, and the walk
// checks that every list it sees is whole.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "core/layout/TMLayoutBuilding.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMInterimReadGuard.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMCaseNames.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

struct WalkStatistics {
  uint64_t nodes = 0;
  uint64_t broken = 0;  // null entries, nameless nodes, counts beyond capacity
};

void walk(const TMFileTree* node, int depth, WalkStatistics& statistics) {
  ++statistics.nodes;
  if (node->filename().empty()) ++statistics.broken;
  volatile uint64_t size = node->diskSize();
  (void)size;
  const TMFolderTree* folder = node->asFolder();
  if (folder == nullptr || depth == 3) return;
  const TMChildList* list = folder->children();
  if (list == nullptr) return;
  uint32_t count = list->count();
  if (count > list->capacity()) {
    ++statistics.broken;
    return;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const TMFileTree* child = list->at(i);
    if (child == nullptr) {
      ++statistics.broken;
      continue;
    }
    walk(child, depth + 1, statistics);
  }
}

void makeWideTree(const TMTemporaryTree& tree, int folders, int filesPerFolder) {
  int root = ::open(tree.path().c_str(), O_RDONLY | O_DIRECTORY);
  char name[32];
  for (int f = 0; f < folders; ++f) {
    std::snprintf(name, sizeof name, "group%03d", f % 10);
    ::mkdirat(root, name, 0755);
    int group = ::openat(root, name, O_RDONLY | O_DIRECTORY);
    std::snprintf(name, sizeof name, "folder%04d", f);
    ::mkdirat(group, name, 0755);
    int folder = ::openat(group, name, O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < filesPerFolder; ++i) {
      std::snprintf(name, sizeof name, "file%05d", i);
      int file = ::openat(folder, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      if (i % 50 == 0) (void)!::write(file, "x", 1);
      ::close(file);
    }
    ::close(folder);
    ::close(group);
  }
  ::close(root);
}

// With one scan thread, and with several writing the tree at once.
class TMInterimReadsConcurrency : public ::testing::TestWithParam<unsigned> {
 protected:
  TMScanOptions options() const {
    TMScanOptions options;
    options.threads = GetParam();
    return options;
  }
};

TEST_P(TMInterimReadsConcurrency, AWalkerNeverSeesAPartialListWhileTheScanRuns) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  makeWideTree(tree, 100, 1000);  // 100,000 files, 110 folders

  std::atomic<const TMFileTree*> root{nullptr};
  std::atomic<bool> scanning{true};
  WalkStatistics statistics;
  uint64_t walks = 0;
  std::thread walker([&] {
    while (scanning.load()) {
      const TMFileTree* current = root.load();
      if (current == nullptr) {
        std::this_thread::yield();
        continue;
      }
      TMInterimReadGuard guard;
      walk(current, 0, statistics);
      ++walks;
    }
  });
  TMFinishedScan scan = scanToEnd(tree.path(), TMFileSystem::posix(),
                                  [&](const TMFileTree* handedOut) {
                                    if (handedOut != nullptr) root.store(handedOut);
                                  },
                                  options());
  scanning = false;
  walker.join();

  EXPECT_EQ(statistics.broken, 0u);
  EXPECT_GT(walks, 1u);
  EXPECT_EQ(scan.receiver->count(), 100000u + 110u);
  WalkStatistics finished;
  walk(scan.root.get(), 0, finished);
  EXPECT_EQ(finished.nodes, 1u + 10u + 100u + 100000u);
}

// Counts the splits of a layout whose share leaves [0, 1] or whose sides
// fall outside the rectangle they divide.
void checkLayout(TMLayoutNode& node, const TMRect& r, uint64_t& broken) {
  if (auto* split = dynamic_cast<TMLayoutTree*>(&node)) {
    if (!split->isSplit()) {
      broken += split->left() != nullptr || split->right() != nullptr;
      return;
    }
    TMRect first, second;
    split->orientAndSplit(r, first, second);
    for (const TMRect* side : {&first, &second}) {
      broken += side->width < -1e-9 || side->height < -1e-9 || side->x + side->width > r.x + r.width + 1e-6 ||
                side->y + side->height > r.y + r.height + 1e-6;
    }
    if (split->left()) checkLayout(*split->left(), first, broken);
    if (split->right()) checkLayout(*split->right(), second, broken);
  } else if (auto* folder = dynamic_cast<TMLayoutFolder*>(&node)) {
    if (folder->child()) checkLayout(*folder->child(), r, broken);
  }
}

TEST_P(TMInterimReadsConcurrency, ProgressLayoutsNeverPlaceMoreThanTheirFolder) {
  // Listing order puts an empty file before the others in every folder.
  TMMemoryEntry root = TMMemoryEntry::directory("root", {});
  for (int f = 0; f < 40; ++f) {
    TMMemoryEntry folder = TMMemoryEntry::directory("d" + std::to_string(f), {TMMemoryEntry::file("empty", 0)});
    for (int i = 0; i < 400; ++i) folder.children.push_back(TMMemoryEntry::file("f" + std::to_string(i), 1 + (i * 7919) % 97));
    root.children.push_back(TMMemoryEntry::file("lone" + std::to_string(f), 3));
    root.children.push_back(std::move(folder));
  }
  std::atomic<const TMFileTree*> scanned{nullptr};
  std::atomic<bool> scanning{true};
  uint64_t broken = 0, layouts = 0;
  std::thread painter([&] {
    while (scanning.load()) {
      const TMFileTree* current = scanned.load();
      if (current == nullptr) {
        std::this_thread::yield();
        continue;
      }
      std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*const_cast<TMFileTree*>(current), 3, 0);
      if (layout) checkLayout(*layout, {0, 0, 1000, 800}, broken), ++layouts;
    }
  });
  TMFinishedScan scan = scanToEnd("/root", std::make_shared<TMMemoryFileSystem>(root),
                                  [&](const TMFileTree* handedOut) {
                                    if (handedOut != nullptr) scanned.store(handedOut);
                                  },
                                  options());
  scanning = false;
  painter.join();
  EXPECT_EQ(broken, 0u) << "in " << layouts << " progress layouts";
  std::unique_ptr<TMLayoutNode> final = createLayoutTree(*scan.root, 65536, 0);
  checkLayout(*final, {0, 0, 1000, 800}, broken);
  EXPECT_EQ(broken, 0u);
}

INSTANTIATE_TEST_SUITE_P(Threads, TMInterimReadsConcurrency, ::testing::Values(1u, 4u),
                         caseNamesByThreads);

}  // namespace
}  // namespace tilemora::test
