// SPDX-License-Identifier: GPL-3.0-or-later
// Files coloured by their age: the step of each age, its edges, no date.

#include <gtest/gtest.h>

#include "core/drawing/TMAgeColoring.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMNodeArena.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

constexpr int64_t kNow = 1800000000;
constexpr int64_t kDay = 86400;

struct AgeCase {
  const char* name;
  int64_t modified;  // 0: no date
  size_t step;
};

class TMAgeSteps : public ::testing::TestWithParam<AgeCase> {};

TEST_P(TMAgeSteps, PutEachAgeInItsStep) {
  EXPECT_EQ(ageStepOf(uint32_t(GetParam().modified), kNow), GetParam().step);
  TMNodeArena arena;
  TMFileTree* file = TMFileTree::create<TMFileTree>(arena, "f", 512);
  if (GetParam().modified != 0) file->setModifiedTime(GetParam().modified);
  const TMAgeColoring coloring(kNow);
  EXPECT_EQ(coloring.colorOf(*file, TMColor()), &coloring.colorOfStep(GetParam().step));
}

INSTANTIATE_TEST_SUITE_P(
    Ages, TMAgeSteps,
    ::testing::Values(AgeCase{"an hour ago", kNow - 3600, 0}, AgeCase{"exactly a day ago", kNow - kDay, 1},
                      AgeCase{"in the future", kNow + kDay, 0}, AgeCase{"three weeks ago", kNow - 21 * kDay, 2},
                      AgeCase{"three months ago", kNow - 90 * kDay, 3}, AgeCase{"ten months ago", kNow - 300 * kDay, 4},
                      AgeCase{"eighteen months ago", kNow - 540 * kDay, 5},
                      AgeCase{"four years ago", kNow - 1460 * kDay, 6}, AgeCase{"1971", 365 * kDay, 7},
                      AgeCase{"no date", 0, 8}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
