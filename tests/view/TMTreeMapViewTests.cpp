// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/map/TMTreeMapView.h"

#include <gtest/gtest.h>

#include "core/layout/TMLayoutTree.h"
#include "support/TMFakeHosts.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora::test {
namespace {

void expectNear(const TMRect& actual, const TMRect& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9);
  EXPECT_NEAR(actual.y, expected.y, 1e-9);
  EXPECT_NEAR(actual.width, expected.width, 1e-9);
  EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

class TMTreeMapViewTest : public ::testing::Test {
 protected:
  std::shared_ptr<TMLayoutNode> tree() {
    return std::shared_ptr<TMLayoutNode>(new TMLayoutTree(factory.leaves({60, 40}), 100));
  }
  void handOver(double width = 1000, double height = 800) {
    view = std::make_unique<TMTreeMapView>(host, std::make_shared<TMFixedWidthMeasurer>(20), width,
                                           height);
    view->setStateChangeResponder([this] { ++notices; });
    EXPECT_EQ(notices, 1);  // called at once
    notices = 0;
    view->setTreeMap(tree(), url);
  }

  TMLeafFactory factory;
  TMFakeViewHost host;
  std::unique_ptr<TMTreeMapView> view;
  TMFileURL url = TMFileURL::fromPath("/data");
  int notices = 0;
};

TEST_F(TMTreeMapViewTest, PaintsNothingBeforeTheFirstTree) {
  TMTreeMapView empty(host, std::make_shared<TMFixedWidthMeasurer>(20), 100, 100);
  EXPECT_EQ(empty.geometry(), nullptr);
  EXPECT_FALSE(empty.paintsFramesAndTexts());
  EXPECT_TRUE(empty.isZoomMinimum());
  EXPECT_TRUE(empty.isZoomMaximum());
}

TEST_F(TMTreeMapViewTest, AHandOverShowsTheWholeTreeUnzoomedAndNotifiesOnce) {
  handOver();
  EXPECT_EQ(view->root(), view->current());
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_EQ(view->virtualSize(), (TMRect{0, 0, 1000, 800}));
  ASSERT_EQ(host.paths.size(), 1u);
  EXPECT_EQ(host.paths[0], url);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(host.repaints, 1);
  EXPECT_EQ(view->geometry()->capacity(), 16445u);
  EXPECT_EQ(view->geometry()->rectangleCount(), 2u);
  EXPECT_TRUE(view->paintsFramesAndTexts());
  EXPECT_FALSE(view->isZoomMinimum());
}

TEST_F(TMTreeMapViewTest, ATinyViewGetsAGathererOfOne) {
  handOver(6, 6);
  EXPECT_EQ(view->geometry()->capacity(), 1u);
}

TEST_F(TMTreeMapViewTest, ASecondHandOverForgetsTheZoom) {
  handOver();
  view->stretchBy(-0.5, -0.5);
  ASSERT_NE(view->virtualSize(), (TMRect{0, 0, 1000, 800}));
  view->setTreeMap(tree(), url);
  EXPECT_EQ(view->virtualSize(), (TMRect{0, 0, 1000, 800}));
  EXPECT_EQ(notices, 2);
}

TEST_F(TMTreeMapViewTest, AHandOverOfNoTreeClearsWithoutNotifyingOrRepainting) {
  handOver();
  view->setTreeMap(nullptr, url);
  EXPECT_EQ(view->root(), nullptr);
  EXPECT_EQ(view->current(), nullptr);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(host.repaints, 1);
  EXPECT_FALSE(view->paintsFramesAndTexts());  // the old fills stay, nothing more
  EXPECT_NE(view->geometry(), nullptr);
}

TEST_F(TMTreeMapViewTest, StretchingKeepsTheVisibleRectangleInsideTheCanvas) {
  handOver();
  view->stretchBy(-0.5, -0.5);  // {250, 200, 500, 400}
  EXPECT_EQ(view->virtualSize(), (TMRect{250, 200, 500, 400}));
  EXPECT_DOUBLE_EQ(host.scrollers.horizontalProportion, 0.5);
  EXPECT_DOUBLE_EQ(host.scrollers.verticalProportion, 0.5);
  EXPECT_DOUBLE_EQ(host.scrollers.horizontalValue, 0.5);
  EXPECT_DOUBLE_EQ(host.scrollers.verticalValue, 0.5);

  view->translateBy(-1000, -1000);  // to the corner
  EXPECT_EQ(view->virtualSize(), (TMRect{0, 0, 500, 400}));
  view->stretchBy(0.1, 0.1);
  expectNear(view->virtualSize(), TMRect{0, 0, 550, 440});
  view->stretchBy(5, 5);  // capped at the canvas
  EXPECT_EQ(view->virtualSize(), (TMRect{0, 0, 1000, 800}));
}

TEST_F(TMTreeMapViewTest, TranslationStopsAtBothEdges) {
  handOver();
  view->stretchBy(-0.4, 0);  // {200, 0, 600, 800}
  view->translateBy(200, 0);
  EXPECT_EQ(view->virtualSize().x, 400);
  view->translateBy(100, 0);
  EXPECT_EQ(view->virtualSize().x, 400);
  view->translateBy(-1000, 0);
  EXPECT_EQ(view->virtualSize().x, 0);
}

TEST_F(TMTreeMapViewTest, ResizingKeepsTheZoomFactor) {
  handOver();
  view->stretchBy(-0.5, -0.5);
  const double zoomBefore = view->frame().width / view->virtualSize().width;
  view->setFrameSize(1500, 1000);
  EXPECT_DOUBLE_EQ(view->frame().width / view->virtualSize().width, zoomBefore);
  EXPECT_DOUBLE_EQ(view->frame().height / view->virtualSize().height, 2.0);
  EXPECT_EQ(view->geometry()->capacity(), uint64_t(int(1500 / 7.0 + 1) * int(1000 / 7.0 + 1)));
  view->setFrameSize(1, 1);  // and back, without harm
  view->setFrameSize(1000, 800);
  EXPECT_NEAR(view->frame().width / view->virtualSize().width, zoomBefore, 1e-9);
}

}  // namespace
}  // namespace tilemora::test
