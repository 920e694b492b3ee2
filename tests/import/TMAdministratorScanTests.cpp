// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/TMAdministratorScan.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <optional>

#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMScanTask.h"
#include "support/TMCaseNames.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

using namespace std::chrono_literals;

// A stand-in for pkexec: a script given the helper and its arguments, as
// pkexec is, that does what the case says (runs them, as pkexec does once
// the password is given, or fails as pkexec does).
struct AdministratorCase {
  const char* name;
  const char* pkexec;  // the script's body; "" for no pkexec at all
  bool whole;          // the scan read whole
  std::string error;   // else its error
};

class TMAdministratorScan : public ::testing::TestWithParam<AdministratorCase> {};

TEST_P(TMAdministratorScan, ReadsTheHelpersExportOrSaysWhyNot) {
  const AdministratorCase& c = GetParam();
  TMTemporaryTree tree;
  tree.makeFolder("sub");
  tree.makeFile("sub/one", 8192);
  tree.makeFile("two", 4096);
  for (int i = 0; i < 400; ++i) tree.makeFile("sub/filler-with-a-long-name-" + std::to_string(i), 0);
  TMTemporaryTree tools;
  std::string pkexec = tools.path() + "/no-pkexec";
  if (*c.pkexec != '\0') {
    pkexec = tools.path() + "/pkexec";
    std::ofstream(pkexec) << "#!/bin/sh\n" << c.pkexec << "\n";
    ::chmod(pkexec.c_str(), 0755);
  }
  auto queue = std::make_shared<TMManualMainQueue>();
  std::optional<TMImportResult> end;
  TMSavedScanStreamHandlers handlers;
  handlers.ended = [&](TMImportResult result) { end = std::move(result); };
  auto task = streamSavedScan(administratorScanOf(TILEMORA_SCAN_PROGRAM, tree.path(), pkexec), std::move(handlers), queue);
  ASSERT_NE(task, nullptr);
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!end && std::chrono::steady_clock::now() < deadline) queue->runNextWithin(10ms);
  ASSERT_TRUE(end.has_value());
  if (c.whole) {
    const auto* scan = std::get_if<TMImportedScan>(&*end);
    ASSERT_NE(scan, nullptr) << std::get<TMImportError>(*end).text();
    EXPECT_EQ(childNames(scan->root.get()), (std::vector<std::string>{"sub", "two"}));
    EXPECT_EQ(childNamed(scan->root.get(), "sub")->diskSize(), 8192u);
    EXPECT_EQ(scan->files, 402u);
  } else {
    ASSERT_TRUE(std::holds_alternative<TMImportError>(*end));
    EXPECT_EQ(std::get<TMImportError>(*end).message, c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Helpers, TMAdministratorScan,
    ::testing::Values(
        AdministratorCase{"the password given: the helper runs", "exec \"$@\"", true, ""},
        AdministratorCase{"a folder it cannot read is no failure", "\"$@\"; exit 1", true, ""},
        AdministratorCase{"the dialog dismissed", "exit 126", false, "the administrator's password was not given"},
        AdministratorCase{"the password refused", "exit 127", false,
                          "pkexec refused: the password was wrong, or this user may not scan as administrator"},
        AdministratorCase{"the helper killed halfway", "\"$@\" | head -c 3000; kill -9 $$", false,
                          "the scan as administrator ended by the signal Killed"},
        AdministratorCase{"the helper's options refused", "exec \"$@\" --top 3", false,
                          "the scan as administrator ended with the status 2"},
        AdministratorCase{"no pkexec", "", false, "pkexec is not installed (Debian's package pkexec provides it)"}),
    [](const auto& info) { return identifierFrom(info.param.name); });

}  // namespace
}  // namespace tilemora::test
