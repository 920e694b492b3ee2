// SPDX-License-Identifier: GPL-3.0-or-later
// Layout, gathering and painting on a scanned tree, with Google Benchmark.
//
//   BENCH_TREE=/var/tmp/tilemora-bench-1000000 build/release/bench/layout_benchmark
//
// The tree (made by tmgentree) is scanned once before the measurements.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "core/scan/TMScanDriver.h"
#include "core/layout/TMLayoutBuilding.h"
#include "core/drawing/TMColorWheel.h"
#include "core/filetree/TMFolderTree.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMFrameGathering.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutNode.h"
#include "core/layout/TMLayoutTree.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMProgressNotifiable.h"
#include "core/scan/TMScanOptions.h"
#include "core/scan/TMScanTask.h"
#include "render/TMFramePainter.h"
#include "render/TMQtTextMeasurer.h"

using namespace tilemora;

namespace {

const TMRect kCanvas{0, 0, 1000, 800};

std::shared_ptr<TMFileTree>& scannedTree() {
  static std::shared_ptr<TMFileTree> root;
  return root;
}

std::unique_ptr<TMLayoutNode>& fullLayout() {
  static std::unique_ptr<TMLayoutNode> layout;
  return layout;
}

struct Frame {
  Frame()
      : gatherer(gathererCapacityFor(kCanvas.width, kCanvas.height),
                 std::make_shared<TMQtTextMeasurer>()) {}
  void gather(TMLayoutNode& layout, const TMRect& visible) {
    gatherFrame(layout, gatherer, wheel, kCanvas, visible);
  }
  TMGeometryGatherer gatherer;
  TMColorWheel wheel;
};

// The visible rectangle of a deep zoom onto the file reached by always
// entering the largest child. Insets are in view pixels, so a deep node's
// rectangle is only right once the view is zoomed close to it: zoom in
// step by step, each time onto the rectangle found at the last zoom.
TMRect deepTarget() {
  std::vector<std::string> path{"/", std::string(scannedTree()->filename())};
  const TMFileTree* node = scannedTree().get();
  while (const TMFolderTree* folder = node->asFolder()) {
    const TMChildList* children = folder->children();
    if (children == nullptr || children->count() == 0) break;
    node = children->at(0);
    path.emplace_back(node->filename());
  }
  TMRect visible = kCanvas;
  size_t depth = 2;
  for (; depth < path.size(); ++depth) {
    TMDrawInfo_t info;
    info.visibleArea = &visible;
    info.pixelWidth = visible.width / kCanvas.width;
    info.pixelHeight = visible.height / kCanvas.height;
    std::vector<std::string> prefix(path.begin(), path.begin() + long(depth) + 1);
    fullLayout()->getNodeAtPathParts(prefix, 1, info, kCanvas);
    const TMRect& found = info.selection.rect;
    if (!(found.width > 0 && found.height > 0)) break;
    visible = found;
  }
  std::fprintf(stderr, "deep zoom: %zu levels down, onto %g x %g units\n", depth - 2,
               visible.width, visible.height);
  return visible;
}

void BM_FullLayout(benchmark::State& state) {
  for (auto _ : state) {
    auto layout = createLayoutTree(*scannedTree(), blockSizes.finalLayoutDepth, 0);
    benchmark::DoNotOptimize(layout.get());
  }
}
BENCHMARK(BM_FullLayout)->Unit(benchmark::kMillisecond)->MinTime(3);

// The nodes a layout holds now, walking only what is laid out.
size_t laidOutNodes(const TMLayoutNode* node) {
  if (node == nullptr) return 0;
  if (const auto* split = dynamic_cast<const TMLayoutTree*>(node)) return 1 + laidOutNodes(split->left()) + laidOutNodes(split->right());
  if (const auto* folder = dynamic_cast<const TMLayoutFolder*>(node)) return 1 + laidOutNodes(folder->child());
  return 1;
}

// The final map as the window makes it: folders laid out when first drawn,
// then the first frame of the whole map, which lays out what it enters.
void BM_LazyLayoutFirstFrame(benchmark::State& state) {
  size_t nodes = 0;
  Frame frame;
  for (auto _ : state) {
    auto layout = createLayoutTree(*scannedTree(), blockSizes.finalLayoutDepth, 0, TMLayoutBuilt::kWhenLookedAt);
    frame.gather(*layout, kCanvas);
    nodes = laidOutNodes(layout.get());
  }
  state.counters["nodes"] = double(nodes);
  state.counters["whole"] = double(laidOutNodes(fullLayout().get()));
}
BENCHMARK(BM_LazyLayoutFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ScanDepthLayout(benchmark::State& state) {
  for (auto _ : state) {
    auto layout = createLayoutTree(*scannedTree(), blockSizes.scanLayoutDepth, 0);
    benchmark::DoNotOptimize(layout.get());
  }
}
BENCHMARK(BM_ScanDepthLayout)->Unit(benchmark::kMillisecond);

void BM_GatherWholeMap(benchmark::State& state) {
  Frame frame;
  for (auto _ : state) frame.gather(*fullLayout(), kCanvas);
  state.counters["rectangles"] = double(frame.gatherer.rectangleCount());
  state.counters["texts"] = double(frame.gatherer.getText().size());
}
BENCHMARK(BM_GatherWholeMap)->Unit(benchmark::kMicrosecond);

void BM_GatherDeepZoom(benchmark::State& state) {
  Frame frame;
  const TMRect visible = deepTarget();
  for (auto _ : state) frame.gather(*fullLayout(), visible);
  state.counters["rectangles"] = double(frame.gatherer.rectangleCount());
}
BENCHMARK(BM_GatherDeepZoom)->Unit(benchmark::kMicrosecond);

void BM_PaintWholeMap(benchmark::State& state) {
  Frame frame;
  frame.gather(*fullLayout(), kCanvas);
  QImage image(int(kCanvas.width), int(kCanvas.height), QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    paintGatheredFrame(painter, frame.gatherer, kCanvas.height, true);
  }
  state.counters["rectangles"] = double(frame.gatherer.rectangleCount());
}
BENCHMARK(BM_PaintWholeMap)->Unit(benchmark::kMillisecond);

class Silent : public TMProgressNotifiable {
  void notifyFileScanned() override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const char* path = std::getenv("BENCH_TREE");
  if (path == nullptr) {
    std::fprintf(stderr, "set BENCH_TREE to a tree made by tmgentree\n");
    return 2;
  }
  auto queue = std::make_shared<TMManualMainQueue>();
  bool ended = false;
  std::shared_ptr<TMScanTask> task;
  scannedTree() = createFromPath(TMFileURL::fromPath(path), std::make_shared<Silent>(),
                                             [&] { ended = true; }, {queue}, task);
  while (!ended) queue->runNextWithin(std::chrono::milliseconds(100));
  fullLayout() = createLayoutTree(*scannedTree(), blockSizes.finalLayoutDepth, 0);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fullLayout().reset();  // layouts go before their tree
  return 0;
}
