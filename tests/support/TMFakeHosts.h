// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fakes of the toolkit around the view logic: they record what they are
// asked. The view host's animations run on a manual clock: a test moves
// them frame by frame, or to their end.

#include <functional>
#include <string>
#include <vector>

#include "view/map/TMTreeMapViewHost.h"
#include "view/controller/TMWindowHost.h"

namespace tilemora::test {

struct TMFakeViewHost : TMTreeMapViewHost {
  void requestRepaint() override { ++repaints; }
  void showPath(const std::optional<TMFileURL>& url) override { paths.push_back(url.value_or(TMFileURL())); }
  void setWindowTitle(std::string_view text) override { title = text; }
  void setRepresentedURL(const std::optional<TMFileURL>& url) override { represented = url; }
  void setScrollerPositions(const TMScrollerPositions& positions) override { scrollers = positions; }
  void startAnimation(double seconds, std::function<void(float)> frame,
                      std::function<void()> end) override {
    animationSeconds.push_back(seconds);
    animationFrame = std::move(frame);
    animationEnd = std::move(end);
  }
  void pushClosedHandCursor() override { ++cursorDepth, closedHand = true; }
  void popCursor() override { --cursorDepth, closedHand = false; }
  void revealInFileManager(const TMFileURL& item, const TMFileURL& container) override {
    reveals.push_back({item, container});
  }
  // The trash takes everything, unless `trashRefusal` says why not, or
  // hands the request to `trash` when one is given.
  TMTrashResult moveToTrash(const TMTrashRequest& request) override {
    const TMTrashResult result = trash ? trash(request) : TMTrashResult{trashRefusal.empty(), trashRefusal};
    if (result.moved) trashed.push_back(request.item);
    return result;
  }
  void showDeletionFailure(const TMFileURL& item, std::string_view reason) override {
    failures.push_back(item.path() + ": " + std::string(reason));
  }

  bool animating() const { return bool(animationEnd); }
  // One frame of the running animation at `progress`.
  void advanceAnimation(float progress) {
    if (animationFrame) animationFrame(progress);
  }
  // The last frame (progress 1), then the end, as a real timer does.
  void finishAnimation() {
    advanceAnimation(1.0f);
    std::function<void()> end = std::move(animationEnd);
    animationFrame = nullptr;
    animationEnd = nullptr;
    if (end) end();
  }

  int repaints = 0;
  std::vector<TMFileURL> paths;
  std::string title;
  std::optional<TMFileURL> represented;
  TMScrollerPositions scrollers;
  std::vector<double> animationSeconds;
  std::function<void(float)> animationFrame;
  std::function<void()> animationEnd;
  int cursorDepth = 0;
  bool closedHand = false;
  std::vector<std::pair<TMFileURL, TMFileURL>> reveals;
  std::vector<TMFileURL> trashed;  // what went to the trash
  std::string trashRefusal;
  std::function<TMTrashResult(const TMTrashRequest&)> trash;
  std::vector<std::string> failures;
};

struct TMFakeWindowHost : TMWindowHost {
  void showMessageView(bool shown) override { messageShown = shown, ++calls; }
  void showOpenFailure(const TMFileURL& url, std::string_view reason) override {
    openFailures.push_back(url.path() + ": " + std::string(reason));
  }
  void setProgressIndeterminate(bool value) override { indeterminate = value, ++calls; }
  bool isProgressIndeterminate() const override { return indeterminate; }
  void startProgressAnimation() override { animating = true, ++calls; }
  void stopProgressAnimation() override { animating = false, ++calls; }
  void setProgressRange(double low, double high) override { minimum = low, maximum = high, ++calls; }
  void setProgressValue(double value) override { values.push_back(value), ++calls; }
  void noteRecentFolder(const TMFileURL& url) override { recent.push_back(url), ++calls; }
  void showScanStatus(const TMScanStatus& shown) override { status = shown; }
  void setFileDropResponder(std::function<void(const TMFileURL&)> responder) override {
    dropResponder = std::move(responder);
  }
  void toolbarFlagsChanged() override { ++flagNotices; }
  void setProgressVisible(bool visible) override { progressVisible = visible; }
  // The question waits for the test to answer it.
  void askToMoveToTrash(const TMTrashQuestion& question,
                        std::function<void(bool move, bool stopAsking)> answer) override {
    questions.push_back(question);
    pendingAnswer = std::move(answer);
  }
  void answer(bool move, bool stopAsking = false) {
    std::function<void(bool, bool)> pending = std::move(pendingAnswer);
    pendingAnswer = nullptr;
    if (pending) pending(move, stopAsking);
  }
  void showFolderTrashed(const TMFileURL& url) override { trashedFolders.push_back(url); }
  void showWaitingForReaders(bool waiting) override { waitings.push_back(waiting); }

  bool messageShown = true;
  bool indeterminate = false;
  bool animating = false;
  double minimum = 0;
  double maximum = 0;
  std::vector<double> values;
  std::vector<TMFileURL> recent;
  int calls = 0;
  std::function<void(const TMFileURL&)> dropResponder;
  std::vector<std::string> openFailures;
  TMScanStatus status;
  int flagNotices = 0;
  bool progressVisible = true;
  std::vector<TMTrashQuestion> questions;
  std::function<void(bool, bool)> pendingAnswer;
  std::vector<TMFileURL> trashedFolders;
  std::vector<bool> waitings;  // told that a change waits for the tree's readers, then no longer
};

}  // namespace tilemora::test
