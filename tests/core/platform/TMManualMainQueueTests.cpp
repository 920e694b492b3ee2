// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/TMManualMainQueue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tilemora {
namespace {

TEST(TMManualMainQueue, RunsClosuresInPostingOrderIncludingThoseTheyPost) {
  TMManualMainQueue queue;
  std::vector<int> order;
  queue.post([&] {
    order.push_back(1);
    queue.post([&] { order.push_back(3); });
  });
  queue.post([&] { order.push_back(2); });
  EXPECT_EQ(queue.runPending(), 3u);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(TMManualMainQueue, WaitsForAClosurePostedFromAnotherThread) {
  TMManualMainQueue queue;
  bool ran = false;
  std::thread poster([&] { queue.post([&] { ran = true; }); });
  EXPECT_TRUE(queue.runNextWithin(std::chrono::seconds(10)));
  poster.join();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(queue.runNextWithin(std::chrono::milliseconds(1)));
}

}  // namespace
}  // namespace tilemora
