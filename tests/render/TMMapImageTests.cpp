// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/TMLayoutBuilding.h"
#include "render/TMMapImage.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include "core/drawing/TMColorWheel.h"
#include "core/layout/TMBlockSizes.h"
#include "render/TMMapFont.h"
#include "render/TMQtTextMeasurer.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

QRgb rgbOf(uint32_t html) { return qRgb(int(html >> 16) & 0xFF, int(html >> 8) & 0xFF, int(html) & 0xFF); }

TEST(TMMapFont, IsAHelveticaCompatibleSansTenPixelsHigh) {
  QFont font = mapFont();
  EXPECT_EQ(font.pixelSize(), 10);
  QString family = QFontInfo(font).family();
  EXPECT_TRUE(family.contains("Nimbus Sans") || family.contains("Helvetica"))
      << family.toStdString() << ": install fonts-urw-base35";
}

TEST(TMQtTextMeasurer, MeasuresWithTheMapFont) {
  TMQtTextMeasurer measurer;
  double once = measurer.widthOf("Downloads");
  EXPECT_GT(once, 20.0);
  EXPECT_LT(once, 70.0);
  EXPECT_NEAR(measurer.widthOf("DownloadsDownloads"), 2 * once, 1.0);
  EXPECT_GT(measurer.widthOf("bad\xFF" "byte"), 0.0);
}

class TMMapImageRendering : public ::testing::Test {
 protected:
  void SetUp() override {
    auto fileSystem = std::make_shared<TMMemoryFileSystem>(TMMemoryEntry::directory(
        "Documents", {TMMemoryEntry::file("big.iso", 3000), TMMemoryEntry::file("notes.txt", 1000),
                      TMMemoryEntry::directory("photos", {TMMemoryEntry::file("a.jpg", 800)})}));
    scan = scanToEnd("/Documents", fileSystem);
    layout = createLayoutTree(*scan.root, blockSizes.finalLayoutDepth, 0);
    ASSERT_NE(layout, nullptr);
    image = renderTreeMap(*layout, 300, 200);
  }

  TMFinishedScan scan;
  std::unique_ptr<TMLayoutNode> layout;
  QImage image;
};

TEST_F(TMMapImageRendering, PaintsFillsByDepthInsideGreyFrames) {
  ASSERT_EQ(image.size(), QSize(300, 200));
  const QRgb grey = qRgb(128, 128, 128);
  EXPECT_EQ(image.pixel(0, 100), grey);    // the root's frame, left edge
  EXPECT_EQ(image.pixel(150, 0), grey);    // and top edge
  EXPECT_EQ(image.pixel(299, 100), grey);  // and right edge
  EXPECT_EQ(image.pixel(2, 2), rgbOf(colorList[0]));  // the root's own fill, in its title band
  // The largest file takes the lower left of the contents, one level deeper.
  EXPECT_EQ(image.pixel(3, 150), grey);
  EXPECT_EQ(image.pixel(6, 190), rgbOf(colorList[1]));
}

TEST_F(TMMapImageRendering, PutsTheTitleBandAtTheTopAndDrawsNoSelection) {
  // Dark text pixels in the top 13 rows (the title band), right of the inset.
  int dark = 0;
  for (int y = 1; y < 13; ++y) {
    for (int x = 4; x < 100; ++x) dark += qGray(image.pixel(x, y)) < 100;
  }
  EXPECT_GT(dark, 10);
  int bottomDark = 0;
  for (int x = 4; x < 100; ++x) bottomDark += qGray(image.pixel(x, 193)) < 100;
  EXPECT_EQ(bottomDark, 0);

  // A selected node would be filled with the selection grey; anti-aliased
  // text edges may hit that grey in a few single pixels.
  const QRgb selection = qRgb(119, 119, 119);
  int selectionPixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) selectionPixels += image.pixel(x, y) == selection;
  }
  EXPECT_LT(selectionPixels, 30);
}

TEST(TMMapImageLabels, DescendersAndUnderscoresOfATitleAreDrawnWhole) {
  // Glyphs of the 10-pixel font reach two pixels below the title band
  // (rows 1 to 10), into the folder's own margin above its contents (row 13 on).
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(
      TMMemoryEntry::directory("gjpqy_", {TMMemoryEntry::file("a", 10), TMMemoryEntry::file("b", 5)}));
  TMFinishedScan scan = scanToEnd("/gjpqy_", fileSystem);
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, blockSizes.finalLayoutDepth, 0);
  const QImage image = renderTreeMap(*layout, 300, 200);
  int below = 0;
  for (int y = 11; y < 13; ++y) {
    for (int x = 4; x < 80; ++x) below += qGray(image.pixel(x, y)) < 128;
  }
  EXPECT_GT(below, 4);
}

TEST(TMMapImageDensity, AFolderOfManyTinyFilesReadsAsFull) {
  TMMemoryEntry folder = TMMemoryEntry::directory("man1", {});
  for (int i = 0; i < 20000; ++i) folder.children.push_back(TMMemoryEntry::file("f" + std::to_string(i), 1 + i % 3));
  TMFinishedScan scan = scanToEnd("/man1", std::make_shared<TMMemoryFileSystem>(std::move(folder)));
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, blockSizes.finalLayoutDepth, 0);
  const QImage image = renderTreeMap(*layout, 800, 600);
  // The folder's interior: 3 pixels in from the sides and bottom, 13 below the top.
  const QRgb own = rgbOf(colorList[0]);
  int ownPixels = 0, interior = 0;
  for (int y = 13; y < 597; ++y) {
    for (int x = 3; x < 797; ++x, ++interior) ownPixels += image.pixel(x, y) == own;
  }
  EXPECT_LT(ownPixels, interior / 20) << ownPixels << " of " << interior;
}

}  // namespace
}  // namespace tilemora::test
