// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/TMAssert.h"

#include <gtest/gtest.h>

namespace tilemora {
namespace {

void guardedOperation(int value) { TM_ASSERT(value >= 0); }

TEST(TMAssertDeathTest, PrintsOperationFileLineAndConditionThenAborts) {
  EXPECT_DEATH(guardedOperation(-1),
               "Assertion failed: \\(value >= 0\\), function guardedOperation, file "
               ".*TMAssertTests.cpp, line [0-9]+\\.");
}

TEST(TMAssert, PassesSilentlyWhenTheConditionHolds) {
  guardedOperation(0);
  SUCCEED();
}

}  // namespace
}  // namespace tilemora
