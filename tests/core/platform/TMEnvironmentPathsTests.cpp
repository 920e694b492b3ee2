// SPDX-License-Identifier: GPL-3.0-or-later
// Folders the environment names: where the history is kept, where the
// trash is, and what the command line scans when given no folder; each
// variable unset, empty, relative and absolute. Only an absolute path is
// taken; anything else falls back as if it were unset.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TMCommandLine.h"
#include "core/platform/TMFreedesktopTrash.h"
#include "import/TMScanHistory.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

std::string history() { return TMScanHistory::defaultStateHome(); }
std::string trash() { return TMFreedesktopTrash::forThisUser().dataHome(); }
std::string scannedByDefault() {
  char program[] = "tilemora-scan";
  char* arguments[] = {program, nullptr};
  std::string error;
  const std::optional<TMCommandLine> line = TMCommandLine::parse(1, arguments, error);
  return line ? line->path : "error: " + error;
}

struct EnvironmentCase {
  const char* name;
  const char* variable;
  const char* value;  // null: unset
  std::string (*read)();
  const char* expected;
};

// Each case starts from HOME=/home/u and neither XDG variable set.
class TMEnvironmentPaths : public ::testing::TestWithParam<EnvironmentCase> {
 protected:
  void SetUp() override {
    for (const char* variable : {"HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"}) {
      const char* value = std::getenv(variable);
      saved_.push_back({variable, value ? std::optional<std::string>(value) : std::nullopt});
    }
    ::setenv("HOME", "/home/u", 1);
    ::unsetenv("XDG_STATE_HOME");
    ::unsetenv("XDG_DATA_HOME");
  }
  void TearDown() override {
    for (const auto& [variable, value] : saved_) value ? ::setenv(variable, value->c_str(), 1) : ::unsetenv(variable);
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_P(TMEnvironmentPaths, TakeOnlyAnAbsolutePath) {
  const EnvironmentCase& c = GetParam();
  c.value ? ::setenv(c.variable, c.value, 1) : ::unsetenv(c.variable);
  EXPECT_EQ(c.read(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Variables, TMEnvironmentPaths,
    ::testing::Values(
        EnvironmentCase{"history, state home unset", "XDG_STATE_HOME", nullptr, history, "/home/u/.local/state"},
        EnvironmentCase{"history, state home empty", "XDG_STATE_HOME", "", history, "/home/u/.local/state"},
        EnvironmentCase{"history, state home relative", "XDG_STATE_HOME", "state", history, "/home/u/.local/state"},
        EnvironmentCase{"history, state home absolute", "XDG_STATE_HOME", "/var/s", history, "/var/s"},
        EnvironmentCase{"history, home unset", "HOME", nullptr, history, "/tmp/.local/state"},
        EnvironmentCase{"history, home empty", "HOME", "", history, "/tmp/.local/state"},
        EnvironmentCase{"history, home relative", "HOME", "u", history, "/tmp/.local/state"},
        EnvironmentCase{"trash, data home unset", "XDG_DATA_HOME", nullptr, trash, "/home/u/.local/share"},
        EnvironmentCase{"trash, data home empty", "XDG_DATA_HOME", "", trash, "/home/u/.local/share"},
        EnvironmentCase{"trash, data home relative", "XDG_DATA_HOME", "data", trash, "/home/u/.local/share"},
        EnvironmentCase{"trash, data home absolute", "XDG_DATA_HOME", "/var/d", trash, "/var/d"},
        EnvironmentCase{"trash, home unset", "HOME", nullptr, trash, "/.local/share"},
        EnvironmentCase{"trash, home empty", "HOME", "", trash, "/.local/share"},
        EnvironmentCase{"trash, home relative", "HOME", "u", trash, "/.local/share"},
        EnvironmentCase{"command line, home absolute", "HOME", "/home/u", scannedByDefault, "/home/u"},
        EnvironmentCase{"command line, home unset", "HOME", nullptr, scannedByDefault, "/"},
        EnvironmentCase{"command line, home empty", "HOME", "", scannedByDefault, "/"},
        EnvironmentCase{"command line, home relative", "HOME", "u", scannedByDefault, "/"}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
