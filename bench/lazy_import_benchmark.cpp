// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a binary export a folder at a time, as the window does: how soon
// the top levels are there, what the first million entries take, and the
// memory held after reading into 100 folders not read at first.
//   build/release/bench/tmgenexport /var/tmp/big.ncdu 20000000
//   build/release/bench/lazy_import_benchmark /var/tmp/big.ncdu
// Targets: open in at most 1 s and 300 MB resident; under 400 MB after
// reading into 100 folders.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "TMResidentMemory.h"
#include "core/filetree/TMFolderTree.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMLazyTreeLoader.h"

using namespace tilemora;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void collectUnread(const TMFolderTree& folder, std::vector<const TMFolderTree*>& unread) {
  if (folder.wasCutShort()) unread.push_back(&folder);
  const TMChildList* children = folder.children();
  for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
    if (const TMFolderTree* sub = children->at(i)->asFolder()) collectUnread(*sub, unread);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lazy_import_benchmark EXPORT\n");
    return 2;
  }
  std::FILE* input = std::fopen(argv[1], "r");
  if (input == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const long before = residentKilobytes();
  const auto start = std::chrono::steady_clock::now();
  std::string error;
  auto reader = TMBinaryExportReader::openDescriptor(fileno(input), 0, error);
  std::fclose(input);
  if (!reader) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  TMLazyTreeLoader loader(std::move(reader));
  auto failure = loader.begin();
  const double begun = secondsSince(start);
  // The root's entries, then the top levels: those of the largest folders.
  if (!failure) failure = loader.readLargest(1, {});
  const double rootEntries = secondsSince(start);
  const uint64_t rootEntryCount = loader.heldEntries();
  if (!failure) failure = loader.readLargest(10000, {});
  const double top = secondsSince(start);
  const uint64_t topEntries = loader.heldEntries();
  if (!failure) failure = loader.readLargest(1000000, {});
  const double opened = secondsSince(start);
  const long openedKilobytes = residentKilobytes() - before;
  if (failure) {
    std::fprintf(stderr, "%s: %s\n", argv[1], failure->c_str());
    return 1;
  }
  std::printf("the root in %.3f s, its %llu entries in %.3f s\n", begun, static_cast<unsigned long long>(rootEntryCount), rootEntries);
  std::printf("top levels (%llu entries) in %.3f s; %llu entries in %.2f s, %ld MB resident, %llu folders not read\n",
              static_cast<unsigned long long>(topEntries), top, static_cast<unsigned long long>(loader.heldEntries()),
              opened, openedKilobytes / 1024, static_cast<unsigned long long>(loader.unreadFolders()));

  std::vector<const TMFolderTree*> unread;
  collectUnread(*loader.root()->asFolder(), unread);
  const auto narrowing = std::chrono::steady_clock::now();
  double slowest = 0;
  const size_t steps = std::min<size_t>(100, unread.size());
  for (size_t i = 0; i < steps; ++i) {
    const auto step = std::chrono::steady_clock::now();
    if (auto stepFailure = loader.readWithin(*unread[i * unread.size() / steps], 100000, {})) {
      std::fprintf(stderr, "%s: %s\n", argv[1], stepFailure->c_str());
      return 1;
    }
    slowest = std::max(slowest, secondsSince(step));
  }
  std::printf("read into %zu folders in %.2f s (the slowest %.3f s): %llu entries held, %ld MB resident\n", steps,
              secondsSince(narrowing), slowest, static_cast<unsigned long long>(loader.heldEntries()),
              (residentKilobytes() - before) / 1024);
  return 0;
}
