// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/TMLayoutBuilding.h"
#include "render/TMMapImage.h"

#include <QFontInfo>

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "core/drawing/TMAgeColoring.h"
#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMHighlightColoring.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFilesBelow.h"
#include "core/layout/TMDrawInfo.h"
#include "core/layout/TMBlockSizes.h"
#include "render/TMMapFont.h"
#include "render/TMQtTextMeasurer.h"
#include "support/TMLayoutUnderTest.h"
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
    layout = createLayoutTree(*scan.root, blockSizes.finalLayoutDepth, 0, layoutBuiltUnderTest());
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
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, blockSizes.finalLayoutDepth, 0, layoutBuiltUnderTest());
  const QImage image = renderTreeMap(*layout, 300, 200);
  int below = 0;
  for (int y = 11; y < 13; ++y) {
    for (int x = 4; x < 80; ++x) below += qGray(image.pixel(x, y)) < 128;
  }
  EXPECT_GT(below, 4);
}

// The contents of the folder at `path` (inside its frame and title band)
// on an image of the whole of `layout`, whose root is `rootPath`.
QRect contentsOf(TMLayoutNode& layout, const std::string& rootPath, const std::string& path, const QImage& image) {
  const TMRect canvas{0, 0, double(image.width()), double(image.height())};
  TMDrawInfo_t info;
  info.visibleArea = &canvas;
  info.selection.url = TMFileURL::fromPath(rootPath);
  const auto start = int32_t(TMFileURL::fromPath(rootPath).pathComponents().size()) - 1;
  if (layout.getNodeAtPathParts(TMFileURL::fromPath(path).pathComponents(), start, info, canvas) == nullptr) return {};
  const TMRect& r = info.selection.rect;  // y grows upwards
  const int left = int(std::ceil(r.x)) + 3, right = int(std::floor(r.x + r.width)) - 3;
  const int top = image.height() - int(std::floor(r.y + r.height)) + 13;
  const int bottom = image.height() - int(std::ceil(r.y)) - 3;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// Some of a tree's files, the others being dimmed.
using Pick = std::function<bool(std::string_view name)>;

// An area of many files too small to draw one by one, at the window's
// default size, in each mode: drawn in what its files are, not in the
// colour of the folder around them.
struct DenseAreaCase {
  const char* name;
  const char* mode;  // "depth", "type" or "age"
  Pick picked;       // with a pick, the others dimmed; null for none
  const char* area;  // the folder whose contents are counted
  double share;      // at least this share of them in `expected`
  std::function<QRgb()> expected;
};

void PrintTo(const DenseAreaCase& c, std::ostream* out) { *out << c.name; }

// /usr/share as the man pages and the copyright files make it: man1, 17,816
// gzipped pages of 4 KB, all modified in November 2023 (the memory file
// system dates a file 1700000000 + 60 s per block); doc, 2,000 folders of
// one file; changelogs, 300 folders of one gzipped file, a dozen pixels
// each; and two big files of other kinds, modified a year later.
TMMemoryEntry denseShare() {
  TMMemoryEntry man1 = TMMemoryEntry::directory("man1", {});
  for (int i = 0; i < 17816; ++i) man1.children.push_back(TMMemoryEntry::file("page" + std::to_string(i) + ".1.gz", 8));
  TMMemoryEntry doc = TMMemoryEntry::directory("doc", {});
  for (int i = 0; i < 2000; ++i)
    doc.children.push_back(TMMemoryEntry::directory("pkg" + std::to_string(i), {TMMemoryEntry::file("copyright", 8)}));
  TMMemoryEntry changelogs = TMMemoryEntry::directory("changelogs", {});
  for (int i = 0; i < 300; ++i)
    changelogs.children.push_back(
        TMMemoryEntry::directory("pkg" + std::to_string(i), {TMMemoryEntry::file("changelog.gz", 280)}));
  return TMMemoryEntry::directory(
      "share", {std::move(man1), std::move(doc), std::move(changelogs), TMMemoryEntry::file("movie.mp4", 530000),
                TMMemoryEntry::file("photo.jpg", 300000)});
}

constexpr int64_t kSeenAt = 1700000000 + 3 * 365 * 86400 / 2;  // a year and a half later

QRgb archives() { return rgbOf(categoryColorList[size_t(TMFileCategory::kArchives)]); }

class TMMapImageDenseArea : public ::testing::TestWithParam<DenseAreaCase> {};

TEST_P(TMMapImageDenseArea, IsDrawnInWhatItsFilesAre) {
  const DenseAreaCase& c = GetParam();
  static const TMFinishedScan scan = scanToEnd("/share", std::make_shared<TMMemoryFileSystem>(denseShare()));
  static const std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*scan.root, blockSizes.finalLayoutDepth, 0, layoutBuiltUnderTest());
  std::shared_ptr<const TMFileColoring> coloring;
  if (std::string_view(c.mode) == "type") coloring = std::make_shared<TMTypeColoring>();
  if (std::string_view(c.mode) == "age") coloring = std::make_shared<TMAgeColoring>(kSeenAt);
  if (c.picked) {
    auto files = std::make_shared<TMHighlightColoring::Files>();
    forEachFileBelow(*scan.root, [&](const TMFileTree& file) {
      if (c.picked(file.filename())) files->insert(&file);
    });
    coloring = std::make_shared<TMHighlightColoring>(coloring, files);
  }
  const QImage image = renderTreeMap(*layout, 1000, 720, coloring.get());
  const QRect area = contentsOf(*layout, "/share", c.area, image);
  ASSERT_GT(area.width() * area.height(), 2000) << "the area is too small to count";
  const QRgb expected = c.expected();
  int matching = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) matching += image.pixel(x, y) == expected;
  }
  const int pixels = area.width() * area.height();
  EXPECT_GE(matching, c.share * pixels) << matching << " of " << pixels << " pixels";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TMMapImageDenseArea,
    ::testing::Values(
        DenseAreaCase{"TinyFilesByDepthTakeTheirLevel", "depth", nullptr, "/share/man1", 0.9,
                      [] { return rgbOf(colorList[2]); }},
        DenseAreaCase{"OneFileFoldersByDepthTakeTheirFilesLevel", "depth", nullptr, "/share/doc", 0.9,
                      [] { return rgbOf(colorList[3]); }},
        DenseAreaCase{"TinyArchivesByType", "type", nullptr, "/share/man1", 0.9, archives},
        // Tiles of folders with room for little but their title: the margins
        // and bands tell what they hold too, all but frames and names.
        DenseAreaCase{"FoldersOfATitleAndLittleMoreByType", "type", nullptr, "/share/changelogs", 0.6, archives},
        DenseAreaCase{"TinyOldFilesByAge", "age", nullptr, "/share/man1", 0.9,
                      [] { return rgbOf(ageColorList[ageStepOf(1700000000 + 8 * 60, kSeenAt)]); }},
        DenseAreaCase{"ArchivesPickedOut", "type", [](std::string_view name) { return name.ends_with(".gz"); },
                      "/share/man1", 0.9, archives},
        DenseAreaCase{"NoArchivePicked", "type", [](std::string_view name) { return name == "movie.mp4"; },
                      "/share/man1", 0.9, [] { return rgbOf(0xF2F2F2); }},
        // One page found among 17,816: its area shows, though it is nearly all dimmed files.
        DenseAreaCase{"OneFileFoundAmongThousands", "type",
                      [](std::string_view name) { return name == "page7.1.gz"; }, "/share/man1", 1e-6, archives}),
    [](const ::testing::TestParamInfo<DenseAreaCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tilemora::test
