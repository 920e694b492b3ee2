// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filetree/TMJsonName.h"

#include <gtest/gtest.h>

#include "support/TMCaseNames.h"

namespace tilemora {
namespace {

struct JsonNameCase {
  const char* name;
  std::string bytes;
  const char* json;
};

class TMJsonNameTable : public ::testing::TestWithParam<JsonNameCase> {};

TEST_P(TMJsonNameTable, WritesValidJsonThatKeepsTheBytes) {
  std::string json;
  appendJsonName(json, GetParam().bytes);
  EXPECT_EQ(json, GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TMJsonNameTable,
    ::testing::Values(JsonNameCase{"plain", "notes.txt", R"("notes.txt")"},
                      JsonNameCase{"quote and backslash", "a\"b\\c", R"("a\"b\\c")"},
                      JsonNameCase{"control characters", "l1\nl2\tx\r\x01\x1f", R"("l1\nl2\tx\r\u0001\u001f")"},
                      JsonNameCase{"valid utf8 kept", "caf\xC3\xA9 \xF0\x9F\x93\x81", "\"caf\xC3\xA9 \xF0\x9F\x93\x81\""},
                      JsonNameCase{"latin1 byte", "caf\xE9", R"("caf\udce9")"},
                      JsonNameCase{"truncated sequence", "x\xE2\x82", R"("x\udce2\udc82")"},
                      JsonNameCase{"overlong slash", "\xC0\xAF", R"("\udcc0\udcaf")"},
                      JsonNameCase{"encoded surrogate", "\xED\xB3\xA9", R"("\udced\udcb3\udca9")"},
                      JsonNameCase{"beyond unicode", "\xF4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"},
                      JsonNameCase{"delete kept", "\x7F", "\"\x7F\""}),
    test::caseNamesByName);

}  // namespace
}  // namespace tilemora
