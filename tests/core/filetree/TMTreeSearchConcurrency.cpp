// SPDX-License-Identifier: GPL-3.0-or-later
// Searches on threads of their own, told to give up by a newer one: an
// abandoned search answers nothing, a finished one everything; never a part.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/filetree/TMTreeSearch.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

TEST(TMTreeSearchConcurrency, AStaleSearchGivesUpWholeAndTheNewestAnswers) {
  using E = TMMemoryEntry;
  std::vector<E> folders;
  for (int f = 0; f < 20; ++f) {
    std::vector<E> files;
    for (int i = 0; i < 1000; ++i) files.push_back(E::file("n" + std::to_string(i), 1));
    folders.push_back(E::directory("d" + std::to_string(f), files));
  }
  TMFinishedScan scan = scanToEnd("/R", std::make_shared<TMMemoryFileSystem>(E::directory("R", folders)));
  std::atomic<uint64_t> newest{0};
  constexpr int kSearches = 8;
  std::vector<TMSearchResult> results(kSearches);
  std::vector<std::thread> threads;
  for (int search = 1; search <= kSearches; ++search) {
    newest.store(uint64_t(search));  // each newer search makes the older ones give up
    threads.emplace_back([&, search] {
      results[size_t(search - 1)] = searchTree(
          *scan.root, [](std::string_view name) { return name.size() > 1 && name[0] == 'n'; },
          [&] { return newest.load(std::memory_order_relaxed) == uint64_t(search); });
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const TMSearchResult& result : results) {
    if (result.abandoned) {
      EXPECT_TRUE(result.matches.empty());
    } else {
      EXPECT_EQ(result.matches.size(), 20000u);
    }
  }
  EXPECT_FALSE(results.back().abandoned);  // the newest is never told to give up
}

}  // namespace
}  // namespace tilemora::test
