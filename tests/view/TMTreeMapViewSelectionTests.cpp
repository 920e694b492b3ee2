// SPDX-License-Identifier: GPL-3.0-or-later
// Several items selected in the tree map view: Ctrl-clicks, a choice of
// rows, how they are drawn, and moving them to the trash together.

#include <gtest/gtest.h>

#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"
#include "support/TMCaseNames.h"
#include "support/TMViewFixture.h"

namespace tilemora::test {
namespace {

class TMViewSeveral : public TMViewFixture {
 protected:
  std::vector<std::string> selectedPaths() const {
    std::vector<std::string> paths;
    for (const auto& item : view->selectedItems()) paths.push_back(item.url.path());
    return paths;
  }
  void ctrlClick(const std::string& path) { view->toggleAtPoint(centreOf(rectOf(path))); }
  // How many rectangles of the frame are painted in the selection colour.
  size_t paintedSelected() {
    view->updateGeometry();
    const TMGeometryGatherer& geometry = *view->geometry();
    const TMColor selection = *TMColorWheel().getSelectionColor();
    size_t count = 0;
    for (uint64_t i = 0; i < geometry.rectangleCount(); ++i) count += *geometry.getColors()[i] == selection ? 1 : 0;
    return count;
  }
};

// Each step: a Ctrl-click on a path, then what is selected (the main item
// first) and how many tiles are drawn selected.
struct ToggleStep {
  const char* path;
  std::vector<std::string> selected;
};
struct ToggleCase {
  const char* name;
  std::vector<ToggleStep> steps;
};

class TMViewToggles : public TMViewSeveral, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(TMViewToggles, CtrlClicksAddAndTakeOutItems) {
  show(nested());
  for (const ToggleStep& step : GetParam().steps) {
    ctrlClick(step.path);
    EXPECT_EQ(selectedPaths(), step.selected) << "after " << step.path;
    EXPECT_EQ(paintedSelected(), step.selected.size()) << "after " << step.path;
    EXPECT_EQ(view->hasSeveralSelected(), step.selected.size() > 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TMViewToggles,
    ::testing::Values(
        ToggleCase{"one item then another, the last main", {{"/data/e", {"/data/e"}},
                                                            {"/data/big/c", {"/data/big/c", "/data/e"}},
                                                            {"/data/small/d", {"/data/small/d", "/data/big/c", "/data/e"}}}},
        ToggleCase{"the main item taken out", {{"/data/e", {"/data/e"}},
                                               {"/data/big/c", {"/data/big/c", "/data/e"}},
                                               {"/data/small/d", {"/data/small/d", "/data/big/c", "/data/e"}},
                                               {"/data/small/d", {"/data/big/c", "/data/e"}},
                                               {"/data/big/c", {"/data/e"}}}},
        ToggleCase{"an item beside it taken out", {{"/data/e", {"/data/e"}},
                                                   {"/data/big/c", {"/data/big/c", "/data/e"}},
                                                   {"/data/small/d", {"/data/small/d", "/data/big/c", "/data/e"}},
                                                   {"/data/e", {"/data/small/d", "/data/big/c"}}}},
        ToggleCase{"the last one taken out leaves nothing", {{"/data/e", {"/data/e"}}, {"/data/e", {}}}}),
    caseNamesByName);

TEST_F(TMViewSeveral, APlainClickOrEscLeavesOneOrNone) {
  show(nested());
  ctrlClick("/data/e");
  ctrlClick("/data/big/c");
  click(centreOf(rectOf("/data/small/d")));
  EXPECT_EQ(selectedPaths(), std::vector<std::string>{"/data/small/d"});
  ctrlClick("/data/e");
  view->clearSelection();
  EXPECT_EQ(selectedPaths(), std::vector<std::string>{});
  EXPECT_EQ(paintedSelected(), 0u);
}

TEST_F(TMViewSeveral, RowsChosenSelectTheFirstAndDrawTheOthersBesideIt) {
  show(nested());
  view->selectItems({TMFileURL::fromPath("/data/big/c"), TMFileURL::fromPath("/data/e"),
                     TMFileURL::fromPath("/data/big/c"), TMFileURL::fromPath("/data/nowhere")});
  EXPECT_EQ(selectedPaths(), (std::vector<std::string>{"/data/big/c", "/data/e"}));
  EXPECT_EQ(host.paths.back().path(), "/data/big/c");  // the path bar follows the main one
  EXPECT_EQ(paintedSelected(), 2u);
}

// Moving several to the trash: each goes as one would, an item inside a
// folder that goes with it is not asked for again, a refusal is named and
// the others still go, and the map is drawn once.
struct BatchCase {
  const char* name;
  std::vector<std::string> asked;
  std::string refused;  // the trash refuses this one
  std::vector<std::string> trashed;
  uint64_t blocksLeft;
};

class TMViewBatchTrash : public TMViewSeveral, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(TMViewBatchTrash, EachGoesOnceAndTheMapIsDrawnOnce) {
  show(nested());
  host.trash = [&](const TMTrashRequest& request) {
    return request.item.path() == GetParam().refused ? TMTrashResult{false, "Permission denied"}
                                                     : TMTrashResult{true, {}};
  };
  std::vector<TMFileURL> urls;
  for (const std::string& path : GetParam().asked) urls.push_back(TMFileURL::fromPath(path));
  const int repaints = host.repaints;
  view->deleteItems(urls);
  std::vector<std::string> trashed;
  for (const TMFileURL& url : host.trashed) trashed.push_back(url.path());
  EXPECT_EQ(trashed, GetParam().trashed);
  EXPECT_EQ(scanned->diskSize(), GetParam().blocksLeft * 512);
  EXPECT_EQ(host.failures, GetParam().refused.empty() ? std::vector<std::string>{}
                                                      : std::vector<std::string>{GetParam().refused + ": Permission denied"});
  EXPECT_EQ(host.repaints, repaints + 1);
  EXPECT_EQ(view->selected(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, TMViewBatchTrash,
    ::testing::Values(BatchCase{"two files", {"/data/e", "/data/small/d"}, "", {"/data/e", "/data/small/d"}, 900},
                      BatchCase{"a folder and a file inside it", {"/data/big/sub/a", "/data/big"}, "", {"/data/big"}, 300},
                      BatchCase{"the first refused, the others go",
                                {"/data/e", "/data/small/d", "/data/big/c"}, "/data/e",
                                {"/data/small/d", "/data/big/c"}, 800},
                      BatchCase{"the last refused, the others go",
                                {"/data/e", "/data/small/d", "/data/big/c"}, "/data/big/c",
                                {"/data/e", "/data/small/d"}, 900}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
