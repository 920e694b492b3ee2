// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a program in a folder, as Open Terminal Here does: in the
// folder's very bytes, or the reason it could not start.

#include "core/platform/TMProgramStart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/TMCaseNames.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

struct StartCase {
  std::string name;
  std::string program;  // relative to the tree, or a bare name
  std::string folder;   // relative to the tree
  int error;            // 0: started
};

class TMProgramStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(TMProgramStart, StartsInTheFolderItselfOrSaysWhyNot) {
  const StartCase& c = GetParam();
  TMTemporaryTree tree;
  tree.makeFolder("caf\xE9 folder");
  // The program tells where it was started, then leaves.
  const std::string out = tree.pathOf("started-in");
  std::ofstream(tree.pathOf("where.sh")) << "#!/bin/sh\npwd -P > \"" << out << ".part\" && mv \"" << out
                                         << ".part\" \"" << out << "\"\n";
  ::chmod(tree.pathOf("where.sh").c_str(), 0755);
  std::ofstream(tree.pathOf("not-executable.sh")) << "#!/bin/sh\n";
  const std::string program = c.program.find('.') != std::string::npos ? tree.pathOf(c.program) : c.program;
  EXPECT_EQ(startProgramIn(program, tree.pathOf(c.folder)), c.error) << std::strerror(c.error);
  if (c.error != 0) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (::access(out.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ostringstream where;
  where << std::ifstream(out).rdbuf();
  char* real = ::realpath(tree.pathOf(c.folder).c_str(), nullptr);
  EXPECT_EQ(where.str(), std::string(real) + "\n");
  std::free(real);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, TMProgramStart,
    ::testing::Values(StartCase{"in a folder that is no text", "where.sh", "caf\xE9 folder", 0},
                      StartCase{"a folder that is gone", "where.sh", "gone", ENOENT},
                      StartCase{"a program nowhere on the path", "tilemora-no-such-terminal", "caf\xE9 folder", ENOENT},
                      StartCase{"a program that cannot run", "not-executable.sh", "caf\xE9 folder", EACCES}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
