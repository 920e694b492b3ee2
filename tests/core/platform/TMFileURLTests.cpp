// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/TMFileURL.h"

#include <gtest/gtest.h>

#include "support/TMCaseNames.h"
#include "support/TMTemporaryTree.h"

namespace tilemora {
namespace {

struct NormalisationCase {
  const char* given;
  const char* expected;
};

class TMFileURLNormalisation : public ::testing::TestWithParam<NormalisationCase> {};

TEST_P(TMFileURLNormalisation, RemovesDotsAndRepeatedSeparators) {
  EXPECT_EQ(TMFileURL::fromPath(GetParam().given).path(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, TMFileURLNormalisation,
                         ::testing::Values(NormalisationCase{"/", "/"},
                                           NormalisationCase{"//", "/"},
                                           NormalisationCase{"/a/b/", "/a/b"},
                                           NormalisationCase{"/a//b/./c", "/a/b/c"},
                                           NormalisationCase{"/nonexistent-a/b/../c", "/nonexistent-a/b/../c"},
                                           NormalisationCase{"/..", "/"},
                                           NormalisationCase{"/a/\nb/\xFF", "/a/\nb/\xFF"}),
                         test::caseNamesBy([](const NormalisationCase& c) { return test::spelledOut(c.given); }));

// Whether a path is a folder or lies below it: by whole components.
struct BelowCase {
  const char* path;
  const char* ancestor;
  bool below;
};

class TMFileURLBelow : public ::testing::TestWithParam<BelowCase> {};

TEST_P(TMFileURLBelow, ComparesWholeComponents) {
  EXPECT_EQ(TMFileURL::fromPath(GetParam().path).isAtOrBelow(TMFileURL::fromPath(GetParam().ancestor)),
            GetParam().below);
}

INSTANTIATE_TEST_SUITE_P(Paths, TMFileURLBelow,
                         ::testing::Values(BelowCase{"/a/b", "/a/b", true}, BelowCase{"/a/b/c", "/a/b", true},
                                           BelowCase{"/a/bc", "/a/b", false}, BelowCase{"/a", "/a/b", false},
                                           BelowCase{"/x", "/", true}, BelowCase{"/", "/", true}),
                         test::caseNamesBy([](const BelowCase& c) {
                           return test::spelledOut(std::string(c.path) + " under " + c.ancestor);
                         }));

// ".." where the kernel takes it: after a symbolic link, the parent of the
// link's target. The tree holds real/sub and link -> real/sub.
struct ParentCase {
  const char* given;     // below the tree
  const char* expected;  // below the tree
};

class TMFileURLParents : public ::testing::TestWithParam<ParentCase> {};

TEST_P(TMFileURLParents, FollowsTheKernel) {
  test::TMTemporaryTree tree;
  tree.makeFolder("real");
  tree.makeFolder("real/sub");
  tree.makeSymlink("link", "real/sub");
  const std::string base = TMFileURL::fromPath(tree.path()).path();
  EXPECT_EQ(TMFileURL::fromPath(tree.path() + "/" + GetParam().given).path(), base + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, TMFileURLParents,
                         ::testing::Values(ParentCase{"link/..", "/real"}, ParentCase{"real/sub/..", "/real"},
                                           ParentCase{"real/../link/../..", ""},
                                           ParentCase{"link/../sub/./", "/real/sub"},
                                           ParentCase{"missing/../real", "/missing/../real"}),
                         test::caseNamesBy([](const ParentCase& c) { return test::spelledOut(c.given); }));

TEST(TMFileURL, RelativePathsResolveAgainstTheWorkingDirectory) {
  TMFileURL url = TMFileURL::fromPath("some/where");
  EXPECT_EQ(url.path().front(), '/');
  EXPECT_EQ(url.lastPathComponent(), "where");
}

TEST(TMFileURL, ComponentsStartWithTheRoot) {
  TMFileURL url = TMFileURL::fromPath("/home/a b/c");
  EXPECT_EQ(url.pathComponents(), (std::vector<std::string>{"/", "home", "a b", "c"}));
  EXPECT_EQ(TMFileURL::fromPathComponents(url.pathComponents()), url);
  EXPECT_EQ(TMFileURL::fromPath("/").pathComponents(), std::vector<std::string>{"/"});
}

TEST(TMFileURL, LastComponentOfTheRootIsTheRoot) {
  EXPECT_EQ(TMFileURL::fromPath("/").lastPathComponent(), "/");
  EXPECT_EQ(TMFileURL::fromPath("/").appending("x").path(), "/x");
  EXPECT_EQ(TMFileURL::fromPath("/a").appending("x").path(), "/a/x");
}

}  // namespace
}  // namespace tilemora
