// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tree map view of 1000 × 800 over a small scanned tree, with a fake host
// on a manual animation clock, and the gestures tests make on it.
//
//   /data (1200 blocks)
//     big/        sub/ {a 400, b 200}, c 300
//     e           200
//     small/      d 100
//
// With four equal files instead (`quarters`): a bottom left, b top left,
// c bottom right, d top right.

#include <gtest/gtest.h>

#include "TMLayoutUnderTest.h"
#include "support/TMFakeHosts.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "view/map/TMSharedLayout.h"
#include "view/map/TMTreeMapView.h"

namespace tilemora::test {

class TMViewFixture : public ::testing::Test {
 protected:
  using E = TMMemoryEntry;

  static E nested() {
    return E::directory("data", {E::directory("big", {E::directory("sub", {E::file("a", 400), E::file("b", 200)}),
                                                      E::file("c", 300)}),
                                 E::file("e", 200), E::directory("small", {E::file("d", 100)})});
  }
  static E quarters() {
    return E::directory("data", {E::file("a", 100), E::file("b", 100), E::file("c", 100), E::file("d", 100)});
  }

  // Scans `tree` at `path` (a mount point when `mounted`) and shows it;
  // `notices` counts the state changes after that.
  void show(E tree, const std::string& path = "/data", TMFileSystemSizes sizes = {}, bool mounted = false) {
    auto fileSystem = std::make_shared<TMMemoryFileSystem>(std::move(tree));
    fileSystem->sizes = sizes;
    if (mounted) fileSystem->mountPoints = {path};
    scanned = scanToEnd(path, fileSystem).root;
    view->setStateChangeResponder([this] { ++notices; });
    view->setTreeMap(makeSharedLayout(scanned, 65536, layoutBuiltUnderTest()), TMFileURL::fromPath(path));
    notices = 0;
  }

  // The rectangle of the node at `path` on the current canvas.
  TMRect rectOf(const std::string& path) {
    const std::vector<std::string> parts = TMFileURL::fromPath(path).pathComponents();
    const int32_t start = int32_t(view->current()->url.pathComponents().size()) - 1;
    std::shared_ptr<TMLayoutNode> layout = view->current()->layout;
    TMLayoutNode* found = nullptr;
    const TMDrawInfo_t info = view->searchWithFunction(
        [&](TMDrawInfo_t& record, const TMRect& bounds) {
          return layout->getNodeAtPathParts(parts, start, record, bounds);
        },
        view->current()->url, &found);
    EXPECT_NE(found, nullptr) << path;
    return info.selection.rect;
  }
  // A rectangle as an animation frame passes it on: narrowed to floats.
  static TMRect inSinglePrecision(const TMRect& r) {
    return {double(float(r.x)), double(float(r.y)), double(float(r.width)), double(float(r.height))};
  }
  static TMPoint centreOf(const TMRect& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }
  // A point in a folder's title band, which selects the folder itself.
  static TMPoint titleOf(const TMRect& r) { return {r.x + r.width / 2, r.y + r.height - 7}; }

  // A click (or a double click) at a point of the unzoomed view.
  void click(const TMPoint& point, int clicks = 1) {
    for (int i = 1; i <= clicks; ++i) {
      view->mouseDown();
      view->mouseUp(point, i);
    }
  }
  std::string selectedPath() const { return view->selected() ? view->selected()->url.path() : "none"; }

  TMFakeViewHost host;
  std::unique_ptr<TMTreeMapView> view =
      std::make_unique<TMTreeMapView>(host, std::make_shared<TMFixedWidthMeasurer>(20), 1000, 800);
  std::shared_ptr<TMFileTree> scanned;
  int notices = 0;
  const TMRect canvas{0, 0, 1000, 800};
};

}  // namespace tilemora::test
