// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/drawing/TMSizeFormatter.h"

#include <gtest/gtest.h>

#include "support/TMCaseNames.h"

namespace tilemora {
namespace {

struct FormatCase {
  uint64_t base;
  uint64_t size;
  const char* text;
};

const auto kBytesName = test::caseNamesBy([](const FormatCase& c) { return std::to_string(c.size) + " bytes"; });

class TMSizeFormatterTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TMSizeFormatterTable, WritesTheExpectedText) {
  TMSizeFormatter formatter(GetParam().base);
  EXPECT_EQ(formatter.formatSize(GetParam().size), GetParam().text)
      << GetParam().size << " bytes, base " << GetParam().base;
}

INSTANTIATE_TEST_SUITE_P(
    Base1024, TMSizeFormatterTable,
    ::testing::Values(FormatCase{1024, 0, "0 bytes"}, FormatCase{1024, 1, "1 bytes"},
                      FormatCase{1024, 1022, "1022 bytes"}, FormatCase{1024, 1023, "1.0 KB"},
                      FormatCase{1024, 1536, "1.5 KB"}, FormatCase{1024, 1047551, "1023.0 KB"},
                      FormatCase{1024, 1047552, "1.0 MB"}, FormatCase{1024, 1072693247, "1.0 GB"},
                      FormatCase{1024, 5000000000, "4.7 GB"},
                      FormatCase{1024, 1099511627776, "1024.0 GB"},
                      FormatCase{1024, UINT64_MAX, "17179869184.0 GB"}),
    kBytesName);

INSTANTIATE_TEST_SUITE_P(Base1000, TMSizeFormatterTable,
                         ::testing::Values(FormatCase{1000, 998, "998 bytes"},
                                           FormatCase{1000, 999, "1.0 KB"},
                                           FormatCase{1000, 10240, "10.2 KB"},
                                           FormatCase{1000, 5000000000, "5.0 GB"}),
                         kBytesName);

struct UnitsCase {
  TMSizeUnits units;
  uint64_t size;
  const char* text;
};

class TMSizeFormatterUnits : public ::testing::TestWithParam<UnitsCase> {};

TEST_P(TMSizeFormatterUnits, WritesTheExpectedText) {
  EXPECT_EQ(TMSizeFormatter(GetParam().units).formatSize(GetParam().size), GetParam().text);
}

const auto kUnitsName = test::caseNamesBy([](const UnitsCase& c) {
  return std::string(c.units == TMSizeUnits::Binary ? "iec " : "si ") + std::to_string(c.size) + " bytes";
});

INSTANTIATE_TEST_SUITE_P(
    IecAndSi, TMSizeFormatterUnits,
    ::testing::Values(UnitsCase{TMSizeUnits::Binary, 1023, "1023 bytes"},
                      UnitsCase{TMSizeUnits::Binary, 1024, "1.0 KiB"},
                      UnitsCase{TMSizeUnits::Binary, 1048575, "1.0 MiB"},  // not "1024.0 KiB"
                      UnitsCase{TMSizeUnits::Binary, 5000000000, "4.7 GiB"},
                      UnitsCase{TMSizeUnits::Binary, 1099511627776, "1.0 TiB"},
                      UnitsCase{TMSizeUnits::Binary, UINT64_MAX, "16777216.0 TiB"},
                      UnitsCase{TMSizeUnits::Decimal, 999, "999 bytes"},
                      UnitsCase{TMSizeUnits::Decimal, 1000, "1.0 kB"},
                      UnitsCase{TMSizeUnits::Decimal, 999949, "999.9 kB"},
                      UnitsCase{TMSizeUnits::Decimal, 999950, "1.0 MB"},
                      UnitsCase{TMSizeUnits::Decimal, 5000000000, "5.0 GB"},
                      UnitsCase{TMSizeUnits::Decimal, 2500000000000, "2.5 TB"}),
    kUnitsName);

TEST(TMSizeFormatter, SharedInstanceUsesBase1024) {
  EXPECT_EQ(TMSizeFormatter::sharedInstance().formatSize(1023), "1.0 KB");
  EXPECT_EQ(&TMSizeFormatter::sharedInstance(), &TMSizeFormatter::sharedInstance());
}

}  // namespace
}  // namespace tilemora
