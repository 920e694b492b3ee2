// SPDX-License-Identifier: GPL-3.0-or-later
// What exclusions match, which patterns they refuse, and what a scan leaves
// out for them.
#include <gtest/gtest.h>

#include "core/scan/TMExclusions.h"
#include "support/TMCaseNames.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

struct MatchCase {
  const char* name;
  const char* pattern;
  const char* entry;
  const char* folderPath;  // below the scanned folder
  bool excluded;
};

class TMExclusionMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(TMExclusionMatch, MatchesNamesOrPathsBelowTheScannedFolder) {
  TMExclusions exclusions;
  ASSERT_EQ(exclusions.addPattern(GetParam().pattern), std::nullopt);
  EXPECT_EQ(exclusions.matches(GetParam().entry, GetParam().folderPath), GetParam().excluded);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, TMExclusionMatch,
    ::testing::Values(MatchCase{"a name pattern matches at any depth", "*.o", "main.o", "src/lib", true},
                      MatchCase{"a name pattern matches the whole name only", "*.o", "main.oo", "", false},
                      MatchCase{"part of a name is no match", "cache", "caches", "", false},
                      MatchCase{"a plain name matches exactly", "cache", "cache", "a/b", true},
                      MatchCase{"a trailing slash still names the folder", "node_modules/", "node_modules", "web", true},
                      MatchCase{"a leading slash anchors at the top", "/build", "build", "", true},
                      MatchCase{"an anchored pattern is not matched deeper", "/build", "build", "src", false},
                      MatchCase{"a path pattern matches the path below", "src/*/cache", "cache", "src/app", true},
                      MatchCase{"a path pattern does not match a name alone", "src/*/cache", "cache", "", false},
                      MatchCase{"a star in a path pattern crosses slashes", "*/tmp", "tmp", "a/b", true},
                      MatchCase{"a set of characters", "[ab]x", "bx", "", true},
                      MatchCase{"a negated set", "[!ab]x", "ax", "", false}),
    caseNamesByName);

struct ProblemCase {
  const char* name;
  const char* pattern;
  bool valid;
};

class TMExclusionPatternCheck : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(TMExclusionPatternCheck, RefusesWhatCanMatchNothingAndSaysWhy) {
  TMExclusions exclusions;
  const std::optional<std::string> problem = exclusions.addPattern(GetParam().pattern);
  EXPECT_EQ(!problem.has_value(), GetParam().valid) << problem.value_or("");
  EXPECT_NE(problem.value_or("fine"), "");
  EXPECT_EQ(exclusions.isEmpty(), !GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Patterns, TMExclusionPatternCheck,
                         ::testing::Values(ProblemCase{"empty", "", false}, ProblemCase{"a slash alone", "/", false},
                                           ProblemCase{"an unclosed set", "*.[ch", false},
                                           ProblemCase{"a closing bracket first in a set", "[]]x", true},
                                           ProblemCase{"a negated closing bracket", "[!]]", true},
                                           ProblemCase{"a trailing backslash", "name\\", false},
                                           ProblemCase{"an escaped star", "\\*", true}),
                         caseNamesByName);

TEST(TMExclusions, ReadsPatternLinesSkippingCommentsAndSaysWhichLineIsWrong) {
  TMExclusions exclusions;
  EXPECT_EQ(exclusions.addPatternLines("# build output\n*.o\n\n/build\r\n"), std::nullopt);
  EXPECT_EQ(exclusions.patterns(), (std::vector<std::string>{"*.o", "/build"}));
  EXPECT_TRUE(exclusions.matches("build", ""));
  const std::optional<std::string> problem = exclusions.addPatternLines("ok\n\n[x\n");
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(problem->rfind("line 3: ", 0), 0u) << *problem;
}

TEST(TMExclusions, ACacheTagNeedsItsSignature) {
  EXPECT_TRUE(TMExclusions::isCacheTag("Signature: 8a477f597d28d172789f06886806bc55\n# made by a tool"));
  EXPECT_FALSE(TMExclusions::isCacheTag("Signature: 8a477f597d28d172789f06886806bc5"));
  EXPECT_FALSE(TMExclusions::isCacheTag(""));
}

// A scan leaves out and does not count what its exclusions match, with
// one thread and with the program's default.
class TMExcludingScan : public ::testing::TestWithParam<unsigned> {};

TEST_P(TMExcludingScan, LeavesOutMatchesAndCachesAndCountsThem) {
  TMTemporaryTree tree;
  tree.makeFile("keep.c", 100);
  tree.makeFile("main.o", 9000);
  tree.makeFolder("src/app/cache");
  tree.makeFile("src/app/cache/blob", 9000);
  tree.makeFile("src/app/app.c", 100);
  tree.makeFolder("build");
  tree.makeFile("build/out", 9000);
  tree.makeFolder("docs/build");
  const uint64_t kept = tree.makeFile("docs/build/index.html", 100);
  tree.makeFolder("cargo/target");
  tree.makeFile("cargo/target/CACHEDIR.TAG", 0);
  {
    std::FILE* tag = std::fopen(tree.pathOf("cargo/target/CACHEDIR.TAG").c_str(), "w");
    std::fputs("Signature: 8a477f597d28d172789f06886806bc55\n", tag);
    std::fclose(tag);
  }
  tree.makeFile("cargo/target/big", 9000);
  tree.makeFolder("cargo/fake");
  {
    std::FILE* tag = std::fopen(tree.pathOf("cargo/fake/CACHEDIR.TAG").c_str(), "w");
    std::fputs("not a tag\n", tag);
    std::fclose(tag);
  }

  auto exclusions = std::make_shared<TMExclusions>();
  for (const char* pattern : {"*.o", "src/*/cache", "/build"}) ASSERT_EQ(exclusions->addPattern(pattern), std::nullopt);
  exclusions->setExcludesCaches(true);
  TMScanOptions options;
  options.threads = GetParam();
  options.exclusions = exclusions;
  TMFinishedScan scan = scanToEnd(tree.path(), TMFileSystem::posix(), nullptr, options);
  const TMFileTree* root = scan.root.get();

  EXPECT_EQ(childNamed(root, "main.o"), nullptr);
  EXPECT_EQ(childNamed(root, "build"), nullptr);
  EXPECT_EQ(childNames(childNamed(root, "src")), std::vector<std::string>{"app"});
  EXPECT_EQ(childNames(childNamed(childNamed(root, "src"), "app")), std::vector<std::string>{"app.c"});
  EXPECT_EQ(childNames(childNamed(root, "docs")), std::vector<std::string>{"build"});
  EXPECT_EQ(childNames(childNamed(root, "cargo")), std::vector<std::string>{"fake"});
  EXPECT_EQ(scan.task->excludedCount(), 4u);
  EXPECT_EQ(root->diskSize(), tree.allocatedSize("keep.c") + tree.allocatedSize("src/app/app.c") + kept +
                                   tree.allocatedSize("cargo/fake/CACHEDIR.TAG"));
}

INSTANTIATE_TEST_SUITE_P(Threads, TMExcludingScan, ::testing::Values(1u, 0u), caseNamesByThreads);

}  // namespace
}  // namespace tilemora::test
