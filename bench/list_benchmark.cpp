// SPDX-License-Identifier: GPL-3.0-or-later
// The list beside the map on big trees, in a real (offscreen) tree view:
//   - expanding a folder of 100,000 files and painting the rows in sight;
//   - sorting that folder, and every folder expanded, by name and by size;
//   - the 1,000 largest files of 1,000,000 entries;
//   - finding a name among them (a part, wildcards, a regular expression);
//   - the memory the list adds per entry on a tree of 10,000,000 entries,
//     its top level shown and one folder expanded.
//
//   build/release/bench/list_benchmark [ENTRIES_FOR_MEMORY]
//
// Targets: the first three under 100 ms each, a find under 200 ms; at most
// 4 bytes per entry.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "list/TMFileList.h"
#include "find/TMFindBar.h"
#include "list/TMFileListModel.h"
#include "core/filetree/TMFileTreeBuilder.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMLargestFiles.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/platform/TMHeapTrim.h"

using namespace tilemora;

namespace {

// A root holding "crowd" (`crowd` files) and `folders` folders of `perFolder` files.
std::shared_ptr<TMFileTree> buildTree(size_t crowd, size_t folders, size_t perFolder) {
  std::mt19937_64 random(20261208);
  auto size = [&] { return (random() % 100000 + 1) * 512; };
  auto name = [&](size_t i) { return std::to_string(random() % 1000000) + "_" + std::to_string(i) + ".dat"; };
  TMFileTreeBuilder builder("root");
  builder.enterFolder("crowd");
  for (size_t i = 0; i < crowd; ++i) builder.addFile(name(i), size());
  builder.leaveFolder();
  for (size_t f = 0; f < folders; ++f) {
    builder.enterFolder("folder" + std::to_string(f));
    for (size_t i = 0; i < perFolder; ++i) builder.addFile(name(i), size());
    builder.leaveFolder();
  }
  return builder.finish();
}

double residentBytes() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  double now = 0;
  char line[256];
  while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
    unsigned long long kilobytes = 0;
    if (std::sscanf(line, "VmRSS: %llu kB", &kilobytes) == 1) now = double(kilobytes) * 1024;
  }
  if (status != nullptr) std::fclose(status);
  return now;
}

// The median of `runs` timings of `work`, in milliseconds; `prepare` runs
// before each, untimed.
template <class Prepare, class Work>
double medianMilliseconds(int runs, Prepare prepare, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    QElapsedTimer timer;
    timer.start();
    work();
    times.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const size_t memoryEntries = argc >= 2 ? std::stoull(argv[1]) : 10000000;

  std::shared_ptr<TMFileTree> tree = buildTree(100000, 900, 1000);
  TMFileList list;
  list.resize(500, 800);
  list.show();
  list.treeModel().setTree(tree, TMFileURL::fromPath("/root"), false);
  const QModelIndex crowd = list.indexOf(TMFileURL::fromPath("/root/crowd"));
  auto paint = [&] { list.viewport()->grab(); };
  paint();

  const double expand = medianMilliseconds(5, [&] {
    list.collapse(crowd);
    list.treeModel().setTree(tree, TMFileURL::fromPath("/root"), false);  // its rows made again
  }, [&] {
    list.expand(list.indexOf(TMFileURL::fromPath("/root/crowd")));
    paint();
  });
  list.expand(list.indexOf(TMFileURL::fromPath("/root/crowd")));
  const double sortByName = medianMilliseconds(5, [&] { list.sortByColumn(TMFileListModel::kSizeColumn, Qt::DescendingOrder); }, [&] {
    list.sortByColumn(TMFileListModel::kNameColumn, Qt::AscendingOrder);
    paint();
  });
  const double sortBySize = medianMilliseconds(5, [&] { list.sortByColumn(TMFileListModel::kNameColumn, Qt::AscendingOrder); }, [&] {
    list.sortByColumn(TMFileListModel::kSizeColumn, Qt::DescendingOrder);
    paint();
  });
  std::vector<TMLargeFile> largest;
  const double largestTime = medianMilliseconds(5, [] {}, [&] { largest = largestFiles(*tree, 1000); });
  std::printf("100,000-file folder: expanded and painted in %.1f ms; sorted by name %.1f ms, by size %.1f ms\n",
              expand, sortByName, sortBySize);
  std::printf("1,000 largest of %zu files: %.1f ms\n", size_t(1000000), largestTime);

  // Find, as the bar's patterns match, through each name's displayed form.
  TMFindBar bar;
  for (const auto& [text, regex] : {std::pair{QStringLiteral("123"), false}, std::pair{QStringLiteral("*12?.dat"), false},
                                    std::pair{QStringLiteral("^9.*_1"), true}}) {
    bar.regularExpression().setChecked(regex);
    bar.field().setText(text);
    const auto matcher = bar.matcher();
    size_t matches = 0;
    const double time = medianMilliseconds(3, [] {}, [&] { matches = searchTree(*tree, matcher).matches.size(); });
    std::printf("find %s%s in 1,001,001 entries: %.1f ms (%zu matches)\n", qPrintable(text),
                regex ? " (regular expression)" : "", time, matches);
  }

  // Memory: the tree alone, then with the list showing it.
  list.treeModel().setTree(nullptr, TMFileURL(), false);
  tree.reset();
  releaseFreedHeapMemory();
  tree = buildTree(0, memoryEntries / 1000, 1000);
  releaseFreedHeapMemory();
  const double before = residentBytes();
  list.treeModel().setTree(tree, TMFileURL::fromPath("/root"), false);
  paint();
  list.expand(list.indexOf(TMFileURL::fromPath("/root/folder0")));
  paint();
  const double after = residentBytes();
  std::printf("%zu entries: the list adds %.2f bytes per entry (%.0f KiB)\n", memoryEntries,
              (after - before) / double(memoryEntries), (after - before) / 1024);
  return 0;
}
