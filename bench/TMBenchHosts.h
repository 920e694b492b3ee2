// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's controller and view, 1000 × 800, without a window: the hosts
// below, and a main queue the benchmark serves itself.
//
// Hosts for running the view and the window controller without a window:
// the view host paints every gathered frame into a 1000 × 800 image at once,
// as the widget would on the repaint it asks for, so painting counts in
// what is timed; its animations are run by hand, frame by frame.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <functional>
#include <utility>

#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMScanOptions.h"
#include "render/TMFramePainter.h"
#include "render/TMQtTextMeasurer.h"
#include "view/controller/TMMainWindowController.h"
#include "view/session/TMSession.h"

namespace tilemora {

struct TMPaintingViewHost : TMTreeMapViewHost {
  void requestRepaint() override {
    if (view == nullptr || view->geometry() == nullptr) return;
    QPainter painter(&image);
    image.fill(Qt::white);
    paintGatheredFrame(painter, *view->geometry(), image.height(), view->paintsFramesAndTexts());
    ++paints;
  }
  uint64_t paints = 0;  // frames painted so far
  void showPath(const std::optional<TMFileURL>&) override {}
  void setWindowTitle(std::string_view) override {}
  void setRepresentedURL(const std::optional<TMFileURL>&) override {}
  void setScrollerPositions(const TMScrollerPositions&) override {}
  void startAnimation(double, std::function<void(float)> frame, std::function<void()> end) override {
    animationFrame = std::move(frame);
    animationEnd = std::move(end);
  }
  void pushClosedHandCursor() override {}
  void popCursor() override {}
  void revealInFileManager(const TMFileURL&, const TMFileURL&) override {}
  // Benchmarks keep their tree: the trash takes nothing, and says it did.
  TMTrashResult moveToTrash(const TMTrashRequest&) override { return {true, {}}; }
  void showDeletionFailure(const TMFileURL&, std::string_view) override {}

  // Ends the running animation as a timer does: last frame, then the end.
  void finishAnimation() {
    if (animationFrame) animationFrame(1.0f);
    std::function<void()> end = std::move(animationEnd);
    animationFrame = nullptr;
    if (end) end();
  }

  TMTreeMapView* view = nullptr;
  QImage image{1000, 800, QImage::Format_RGB32};
  std::function<void(float)> animationFrame;
  std::function<void()> animationEnd;
};

struct TMQuietWindowHost : TMWindowHost {
  void showMessageView(bool) override {}
  void showOpenFailure(const TMFileURL&, std::string_view) override {}
  void setProgressIndeterminate(bool value) override { indeterminate = value; }
  bool isProgressIndeterminate() const override { return indeterminate; }
  void startProgressAnimation() override {}
  // The end of a scan stops the bar's animation: when, for the benchmarks.
  void stopProgressAnimation() override { stoppedAt = std::chrono::steady_clock::now(); }
  void setProgressRange(double, double) override {}
  void setProgressValue(double) override {}
  void noteRecentFolder(const TMFileURL&) override {}
  void showScanStatus(const TMScanStatus&) override {}
  void setFileDropResponder(std::function<void(const TMFileURL&)>) override {}
  void toolbarFlagsChanged() override {}
  void setProgressVisible(bool) override {}
  void askToMoveToTrash(const TMTrashQuestion&, std::function<void(bool, bool)> answer) override {
    answer(true, false);
  }
  void showFolderTrashed(const TMFileURL&) override {}
  bool indeterminate = true;
  std::chrono::steady_clock::time_point stoppedAt;
};

// What every benchmark starts with: Qt on the offscreen platform (unless
// another is asked for), and the tree named on its command line; `tree` is
// null, after a usage line, when none was named.
// Serves `queue`, timing each step (not the sleep between them), until
// `done` or five minutes; answers the longest step and how long it all
// took, in milliseconds.
inline std::pair<double, double> serveTimed(TMManualMainQueue& queue, const std::function<bool()>& done) {
  using Clock = std::chrono::steady_clock;
  const auto milliseconds = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  const Clock::time_point start = Clock::now();
  double longest = 0;
  while (!done() && Clock::now() - start < std::chrono::minutes(5)) {
    if (!queue.waitForWork(std::chrono::milliseconds(20))) continue;
    const Clock::time_point before = Clock::now();
    queue.runNextWithin(std::chrono::milliseconds(0));
    longest = std::max(longest, milliseconds(Clock::now() - before));
  }
  return {longest, milliseconds(Clock::now() - start)};
}

struct TMBenchApplication {
  TMBenchApplication(int& argc, char** argv)
      : application(offscreenUnlessAsked(argc), argv), tree(argc >= 2 ? argv[1] : nullptr) {
    if (tree == nullptr) std::fprintf(stderr, "usage: %s TREE\n", argv[0]);
  }
  // Chooses the platform before the application is made.
  static int& offscreenUnlessAsked(int& argc) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
  }

  QGuiApplication application;
  const char* tree;
};

struct TMBenchWindow {
  // Scans as the app does by default: one thread per processor.
  explicit TMBenchWindow(std::shared_ptr<TMFileSystem> scanned = TMFileSystem::posix()) : fileSystem(scanned) {
    viewHost.view = &view;
    session = std::make_unique<TMSession>(windowHost, view,
                                          TMScanEnvironment{queue, std::move(scanned), nullptr, appScanOptions()});
    controller = &session->controller();
  }
  // The window closes: its scan stops, its jobs are waited for.
  void close() {
    controller = nullptr;
    session.reset();
  }
  static TMScanOptions appScanOptions() {
    TMScanOptions options;
    options.threads = 0;
    return options;
  }

  // Opens `url` and serves the main queue until its scan has begun: a new
  // tree waits for the jobs still reading the last one (its map built, or
  // let go of). False when it did not begin within a minute.
  bool open(const TMFileURL& url) {
    const uint64_t before = controller->openings();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    controller->openURL(url);
    while (controller->openings() == before) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      queue->runNextWithin(std::chrono::milliseconds(100));
    }
    return true;
  }

  // Scans `url` to its end, serving the main queue, and says how many
  // entries it found.
  void scanToEnd(const TMFileURL& url) {
    if (!open(url)) std::fprintf(stderr, "the scan of %s did not begin\n", url.path().c_str());
    while (controller->isScanning()) queue->runNextWithin(std::chrono::milliseconds(100));
    std::printf("entries %llu\n", static_cast<unsigned long long>(controller->scannedElementCount()));
  }

  std::shared_ptr<TMFileSystem> fileSystem;
  std::shared_ptr<TMManualMainQueue> queue = std::make_shared<TMManualMainQueue>();
  TMPaintingViewHost viewHost;
  TMQuietWindowHost windowHost;
  TMTreeMapView view{viewHost, std::make_shared<TMQtTextMeasurer>(), 1000, 800};
  std::unique_ptr<TMSession> session;
  TMMainWindowController* controller = nullptr;
};

}  // namespace tilemora
