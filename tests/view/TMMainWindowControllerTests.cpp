// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/controller/TMMainWindowController.h"
#include "view/session/TMSession.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMFreedesktopTrash.h"
#include "core/platform/TMManualMainQueue.h"
#include "support/TMCaseNames.h"
#include "support/TMFakeHosts.h"
#include "support/TMFaultyFileSystem.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

E dataFolderOf(int files) {
  E folder = E::directory("data", {});
  for (int i = 0; i < files; ++i) folder.children.push_back(E::file("f" + std::to_string(i), 1 + i % 7));
  return folder;
}

class TMMainWindowControllerTest : public ::testing::Test {
 protected:
  void make(std::shared_ptr<TMFileSystem> fileSystem) {
    view = std::make_unique<TMTreeMapView>(viewHost, std::make_shared<TMFixedWidthMeasurer>(20),
                                           400, 300);
    view->setStateChangeResponder([this] { ++handOvers; });
    handOvers = 0;
    session = std::make_unique<TMSession>(window, *view, TMScanEnvironment{queue, std::move(fileSystem)},
                                          [this] { ++closed; });
    controller = &session->controller();
  }
  // Serves the main queue until the scan has ended and nothing is left.
  // Until the scan's full map is shown and the work that built it has
  // ended: a change of the tree waits for that work (on a busy machine it
  // may still be returning when its map is shown).
  void runToEnd() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((controller->isScanning() || session->jobs().treeIsRead()) && std::chrono::steady_clock::now() < deadline)
      queue->runNextWithin(std::chrono::milliseconds(20));
    queue->runPending();
  }

  std::shared_ptr<TMManualMainQueue> queue = std::make_shared<TMManualMainQueue>();
  TMFakeWindowHost window;
  TMFakeViewHost viewHost;
  std::unique_ptr<TMTreeMapView> view;
  std::unique_ptr<TMSession> session;
  TMMainWindowController* controller = nullptr;
  int handOvers = 0;
  int closed = 0;
};

TEST_F(TMMainWindowControllerTest, StartsWithTheToolbarFlagsOfAnEmptyWindow) {
  make(std::make_shared<TMMemoryFileSystem>(dataFolderOf(1)));
  EXPECT_TRUE(controller->atTopLevel());
  EXPECT_FALSE(controller->atMaximumZoom() || controller->atMinimumZoom() ||
               controller->showableInFinder() || controller->narrowable());
  EXPECT_EQ(controller->curentlyNavigated(), nullptr);
}

struct StepCase {
  int files;
  int steps;
  unsigned threads = 1;
};

class TMProgressSteps : public TMMainWindowControllerTest,
                        public ::testing::WithParamInterface<StepCase> {};

TEST_P(TMProgressSteps, OneStepPerThousandEntriesThenTheCommit) {
  make(std::make_shared<TMMemoryFileSystem>(dataFolderOf(GetParam().files)));
  TMScanOptions options;
  options.threads = GetParam().threads;
  controller->setScanOptions(options);
  controller->openURL(TMFileURL::fromPath("/data"));
  EXPECT_FALSE(window.messageShown);
  EXPECT_TRUE(window.indeterminate);
  EXPECT_TRUE(window.animating);
  EXPECT_EQ(window.recent, std::vector<TMFileURL>{TMFileURL::fromPath("/data")});
  // Wait for the scan itself, then serve the queue: every step it posted
  // runs (none piles up behind another, so at most one is waiting). Their
  // maps are built off the main thread and may come after the full one.
  while (controller->scannedElementCount() < uint64_t(GetParam().files)) std::this_thread::yield();
  runToEnd();
  EXPECT_LE(handOvers, GetParam().steps + 1);
  EXPECT_GE(handOvers, 1);
  EXPECT_EQ(controller->scannedElementCount(), uint64_t(GetParam().files));
  EXPECT_TRUE(window.indeterminate);  // a folder cannot measure its progress
  EXPECT_FALSE(window.animating);
  EXPECT_TRUE(window.values.empty());
  ASSERT_NE(view->root(), nullptr);
  EXPECT_EQ(view->root()->file, controller->curentlyNavigated().get());
}

INSTANTIATE_TEST_SUITE_P(Counts, TMProgressSteps,
                         ::testing::Values(StepCase{999, 0}, StepCase{1000, 1}, StepCase{3500, 3},
                                           StepCase{999, 0, 4}, StepCase{3500, 3, 4}),
                         caseNamesBy([](const StepCase& c) {
                           return std::to_string(c.files) + " entries" +
                                  (c.threads > 1 ? " on " + std::to_string(c.threads) + " threads" : "");
                         }));

TEST_F(TMMainWindowControllerTest, AStepsMapIsBuiltOffTheMainThreadWhileTheScanWrites) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  for (int d = 0; d < 5; ++d) {
    tree.makeFolder("d" + std::to_string(d));
    for (int f = 0; f < 600; ++f) tree.makeFile("d" + std::to_string(d) + "/" + std::to_string(f), 10);
  }
  // The scan stops at the third folder it opens until the test lets it go.
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  std::atomic<int> opened{0};
  std::atomic<bool> held{false}, released{false};
  fileSystem->beforeOpeningFolder = [&](int, const char*) {
    if (++opened != 3) return;
    held = true;
    while (!released) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  struct ReleasedAtTheEnd {  // however the test ends, the scan goes on and ends
    std::atomic<bool>& released;
    ~ReleasedAtTheEnd() {
      released = true;
      TMScanTask::waitForAllScans(std::chrono::seconds(30));
    }
  } releasedAtTheEnd{released};
  make(fileSystem);
  controller->openURL(TMFileURL::fromPath(tree.path()));
  while (!held) std::this_thread::yield();
  // Steps were posted for the 1,200 entries found: serving them hands over
  // a map built on another thread, the scan still writing.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (handOvers == 0 && std::chrono::steady_clock::now() < deadline)
    queue->runNextWithin(std::chrono::milliseconds(20));
  EXPECT_TRUE(controller->isScanning());
  ASSERT_NE(view->root(), nullptr);
  released = true;
  runToEnd();
  EXPECT_FALSE(controller->isScanning());
  EXPECT_EQ(controller->scannedElementCount(), 3005u);
}

// While the scan writes, small areas are not walked for what they hold;
// once it has ended, they show it.
TEST_F(TMMainWindowControllerTest, ASmallFolderShowsWhatItHoldsOnceTheScanHasEnded) {
  using E = TMMemoryEntry;
  make(std::make_shared<TMMemoryFileSystem>(
      E::directory("R", {E::file("huge.mp4", 1000000), E::directory("T", {E::file("x.gz", 20)})})));
  const TMTypeColoring type;
  view->setFileColoring(std::shared_ptr<const TMFileColoring>(&type, [](const TMFileColoring*) {}));
  controller->openURL(TMFileURL::fromPath("/R"));
  runToEnd();
  ASSERT_NE(view->geometry(), nullptr);
  const size_t count = view->geometry()->rectangleCount();
  ASSERT_EQ(count, 3u);  // R, huge.mp4, T
  EXPECT_EQ(*view->geometry()->getColors()[count - 1], type.colorOfCategory(TMFileCategory::kArchives));
}

TEST_F(TMMainWindowControllerTest, StepsNeverPileUpWhileTheMainQueueIsBusy) {
  make(std::make_shared<TMMemoryFileSystem>(dataFolderOf(20000)));
  controller->openURL(TMFileURL::fromPath("/data"));
  while (controller->isScanning() && queue->pendingCount() < 2) std::this_thread::yield();
  // The scan has finished (or nearly) without the queue being served: one
  // step is waiting at most, and the end.
  TMScanTask::waitForAllScans(std::chrono::seconds(30));
  EXPECT_LE(queue->pendingCount(), 2u);
  runToEnd();
  EXPECT_FALSE(controller->isScanning());
  EXPECT_EQ(controller->scannedElementCount(), 20000u);
}

TEST_F(TMMainWindowControllerTest, AVolumeShowsADeterminateFractionFromItsFirstStep) {
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(dataFolderOf(2500));
  fileSystem->sizes = {uint64_t(1) << 40, uint64_t(1) << 39};
  make(fileSystem);
  controller->openURL(TMFileURL::fromPath("/"));
  while (controller->scannedElementCount() < 2500) std::this_thread::yield();
  runToEnd();
  EXPECT_FALSE(window.indeterminate);
  EXPECT_EQ(window.minimum, 0.0);
  EXPECT_EQ(window.maximum, 1.0);
  ASSERT_FALSE(window.values.empty());
  for (double value : window.values) {
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 1.0);
  }
  EXPECT_EQ(window.values.back(), 1.0);  // done, though most used space was never found
  EXPECT_FALSE(window.animating);
}

TEST_F(TMMainWindowControllerTest, OpeningAnotherFolderStopsTheOldScanAndFreesItsTree) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  for (int i = 0; i < 200; ++i) {
    tree.makeFolder("d" + std::to_string(i));
    for (int j = 0; j < 20; ++j) tree.makeFile("d" + std::to_string(i) + "/" + std::to_string(j));
  }
  make(TMFileSystem::posix());
  controller->openURL(TMFileURL::fromPath(tree.path()));
  std::weak_ptr<TMFileTree> first = controller->curentlyNavigated();
  while (controller->scannedElementCount() < 10) std::this_thread::yield();

  TMTemporaryTree other;
  other.makeFile("only", 10);
  controller->openURL(TMFileURL::fromPath(other.path()));
  runToEnd();
  ASSERT_TRUE(TMScanTask::waitForAllScans(std::chrono::seconds(10)));
  queue->runPending();
  EXPECT_TRUE(first.expired());
  EXPECT_EQ(view->root()->url, TMFileURL::fromPath(other.path()));
  EXPECT_EQ(controller->scannedElementCount(), 1u);
}

TEST_F(TMMainWindowControllerTest, TheTrashTakesTheFolderNotALinkToItAndNothingOutsideTheScan) {
  TMTemporaryTree tree;
  tree.makeFolder("photos/sub/mid");
  tree.makeFile("photos/sub/mid/f", 10);
  tree.makeFolder("elsewhere/mid");
  tree.makeSymlink("link-to-photos", "photos");
  make(TMFileSystem::posix());
  // The real trash, with a home trash of the test's own: it acts only
  // where the disk agrees with what the scan recorded.
  viewHost.trash = [&](const TMTrashRequest& request) {
    return TMFreedesktopTrash(tree.pathOf("data"), ::getuid()).moveToTrash(request);
  };
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  controller->openURL(TMFileURL::fromPath(tree.pathOf("link-to-photos")));
  runToEnd();
  char* real = ::realpath(tree.pathOf("photos").c_str(), nullptr);
  const TMFileURL photos = TMFileURL::fromPath(real);
  std::free(real);
  ASSERT_EQ(controller->scannedUrl(), photos);
  auto select = [this](const TMFileURL& url) {
    const int32_t start = int32_t(view->current()->url.pathComponents().size()) - 1;
    view->selectWithFunction(
        [&](TMDrawInfo_t& info, const TMRect& bounds) {
          return view->current()->layout->getNodeAtPathParts(url.pathComponents(), start, info, bounds);
        },
        view->current()->url);
  };

  // A folder on the path swapped for a link after the scan: refused.
  select(photos.appending("sub").appending("mid"));
  ASSERT_EQ(view->selected()->url, photos.appending("sub").appending("mid"));
  ASSERT_EQ(::rename(tree.pathOf("photos/sub").c_str(), tree.pathOf("photos/sub.orig").c_str()), 0);
  tree.makeSymlink("photos/sub", "../elsewhere");
  controller->deleteSelectedElement();
  window.answer(true);
  EXPECT_TRUE(viewHost.trashed.empty());
  ASSERT_EQ(viewHost.failures.size(), 1u);
  EXPECT_NE(viewHost.failures[0].find("has changed on disk since the scan; rescan first"), std::string::npos);

  // The scanned folder itself: the folder, not the link it was opened by.
  select(photos);
  ASSERT_TRUE(view->isSelectionRoot());
  controller->deleteSelectedElement();
  window.answer(true);
  EXPECT_EQ(viewHost.trashed, std::vector<TMFileURL>{photos});
  EXPECT_EQ(::access(tree.pathOf("data/Trash/files/photos/sub.orig/mid/f").c_str(), F_OK), 0);
}

TEST_F(TMMainWindowControllerTest, AClosedWindowIsNeverCalledBack) {
  make(std::make_shared<TMMemoryFileSystem>(dataFolderOf(30000)));
  controller->openURL(TMFileURL::fromPath("/data"));
  std::weak_ptr<TMFileTree> tree = controller->curentlyNavigated();
  while (controller->scannedElementCount() < 1000) std::this_thread::yield();
  const int callsAtClose = window.calls;
  const int handOversAtClose = handOvers;
  session.reset();  // the window closes
  controller = nullptr;
  EXPECT_EQ(closed, 1);
  ASSERT_TRUE(TMScanTask::waitForAllScans(std::chrono::seconds(10)));
  queue->runPending();
  EXPECT_EQ(window.calls, callsAtClose);
  EXPECT_EQ(handOvers, handOversAtClose);
  view.reset();  // the view's last map goes with the window
  EXPECT_TRUE(tree.expired());
}

TEST_F(TMMainWindowControllerTest, AwakeningWithAnEmptySlotMirrorsTheEmptyView) {
  make(std::make_shared<TMMemoryFileSystem>(dataFolderOf(10)));
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  EXPECT_EQ(window.flagNotices, 1);  // the view called back at once
  EXPECT_TRUE(controller->atMaximumZoom() && controller->atMinimumZoom() && controller->atTopLevel());
  EXPECT_FALSE(controller->narrowable() || controller->showableInFinder());
  EXPECT_FALSE(controller->scannedUrl().has_value());
  EXPECT_TRUE(window.messageShown);
  ASSERT_TRUE(window.dropResponder);
  window.dropResponder(TMFileURL::fromPath("/data"));  // a folder dropped on the message
  EXPECT_EQ(controller->scannedUrl(), TMFileURL::fromPath("/data"));
  runToEnd();
}

TEST_F(TMMainWindowControllerTest, AHandedOverFolderOpensAndTheFlagsFollowTheView) {
  make(std::make_shared<TMMemoryFileSystem>(
      E::directory("data", {E::directory("inner", {E::file("a", 10), E::file("b", 5)}), E::file("c", 3)})));
  TMGlobalQueues::sharedQueues().addFileToQueue(TMFileURL::fromPath("/data"));
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  EXPECT_FALSE(TMGlobalQueues::sharedQueues().getFileFromQueue().has_value());
  EXPECT_FALSE(window.messageShown);
  runToEnd();
  ASSERT_NE(view->root(), nullptr);
  EXPECT_FALSE(controller->atMaximumZoom() || controller->atMinimumZoom());

  // The title band of "inner", the larger child, at the left below the
  // scanned folder's own band.
  view->mouseDown();
  view->mouseUp({20, 280}, 1);
  ASSERT_EQ(view->selected()->url.path(), "/data/inner");
  EXPECT_TRUE(controller->narrowable() && controller->showableInFinder() && controller->atTopLevel());
  controller->narrowFolder();
  viewHost.finishAnimation();
  EXPECT_FALSE(controller->atTopLevel());
  controller->goUp();
  viewHost.finishAnimation();
  EXPECT_TRUE(controller->atTopLevel());
  const int notices = window.flagNotices;
  controller->zoomInView();
  EXPECT_EQ(window.flagNotices, notices + 1);
  viewHost.finishAnimation();
  EXPECT_DOUBLE_EQ(view->virtualSize().width, 400 * double(0.9f));  // one step
  controller->zoomOutView();
  viewHost.finishAnimation();
  EXPECT_EQ(view->virtualSize(), view->frame());  // exactly back
  controller->revealInFinder();
  EXPECT_EQ(viewHost.reveals.size(), 1u);
}

TEST_F(TMMainWindowControllerTest, AStoppedVolumeScanShowsWhereItStopped) {
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(dataFolderOf(30000));
  fileSystem->sizes = {uint64_t(1) << 40, uint64_t(1) << 39};
  make(fileSystem);
  controller->openURL(TMFileURL::fromPath("/"));
  while (controller->scannedElementCount() < 2000) std::this_thread::yield();
  controller->stopScanning();
  runToEnd();
  ASSERT_FALSE(window.values.empty());
  EXPECT_LT(window.values.back(), 0.5);  // not full: most was never reached
  EXPECT_TRUE(window.progressVisible);
}

TEST_F(TMMainWindowControllerTest, MoveToTrashWaitsForTheScanAndDeletingTheRootEmptiesTheWindow) {
  make(std::make_shared<TMMemoryFileSystem>(E::directory("data", {E::file("a", 10), E::file("b", 5)})));
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  controller->openURL(TMFileURL::fromPath("/data"));
  runToEnd();
  view->mouseDown();
  view->mouseUp({5, 290}, 1);  // the scanned folder's title band
  ASSERT_EQ(view->selected()->url.path(), "/data");
  EXPECT_TRUE(controller->canDeleteSelection());

  // Scanning again: the old map and its selection stay until the first
  // step, but nothing is deleted while the scan writes.
  const int notices = window.flagNotices;
  controller->openURL(TMFileURL::fromPath("/data"));
  EXPECT_EQ(window.flagNotices, notices + 1);
  EXPECT_FALSE(controller->canDeleteSelection());
  controller->deleteSelectedElement();
  EXPECT_TRUE(viewHost.trashed.empty());
  runToEnd();

  view->mouseDown();
  view->mouseUp({5, 290}, 1);
  controller->setAskBeforeTrash(false);  // the scanned folder itself is asked about all the same
  controller->deleteSelectedElement();
  ASSERT_EQ(window.questions.size(), 1u);
  EXPECT_TRUE(window.questions[0].scannedFolder);
  EXPECT_EQ(window.questions[0].files, 2u);
  EXPECT_TRUE(viewHost.trashed.empty());
  window.answer(true);
  EXPECT_EQ(viewHost.trashed, std::vector<TMFileURL>{TMFileURL::fromPath("/data")});
  EXPECT_EQ(controller->curentlyNavigated(), nullptr);  // emptied
  EXPECT_FALSE(controller->scannedUrl().has_value());
  EXPECT_FALSE(controller->canDeleteSelection() || controller->canRescan() || controller->showsMap());
  EXPECT_TRUE(controller->atTopLevel() && controller->atMaximumZoom());
  EXPECT_EQ(window.trashedFolders, std::vector<TMFileURL>{TMFileURL::fromPath("/data")});
  EXPECT_TRUE(window.messageShown);
  EXPECT_FALSE(window.progressVisible);
}

// Each answer to the question, and what changed before it came.
struct TrashAnswerCase {
  const char* name;
  bool move;
  bool stopAsking;
  std::function<void(TMTreeMapView&)> meanwhile;
  bool trashed;
};
class TMTrashAnswers : public TMMainWindowControllerTest, public ::testing::WithParamInterface<TrashAnswerCase> {};

TEST_P(TMTrashAnswers, ActOnlyOnTheSelectionAskedAbout) {
  make(std::make_shared<TMMemoryFileSystem>(
      E::directory("data", {E::directory("inner", {E::file("a", 10), E::file("b", 5)}), E::file("c", 3)})));
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  controller->openURL(TMFileURL::fromPath("/data"));
  runToEnd();
  auto selectInner = [this] {
    view->selectWithFunction(
        [this](TMDrawInfo_t& info, const TMRect& bounds) {
          return view->current()->layout->getNodeAtPathParts({"/", "data", "inner"}, 1, info, bounds);
        },
        view->current()->url);
  };
  selectInner();
  ASSERT_TRUE(window.status.selection.has_value());
  EXPECT_EQ(window.status.selection->name, "inner");
  EXPECT_EQ(window.status.selection->bytes, 15u * 512);
  EXPECT_EQ(window.status.selection->files, 2u);
  controller->deleteSelectedElement();
  ASSERT_EQ(window.questions.size(), 1u);
  EXPECT_EQ(window.questions[0].item.path(), "/data/inner");
  EXPECT_EQ(window.questions[0].bytes, 15u * 512);
  EXPECT_TRUE(window.questions[0].folder && !window.questions[0].scannedFolder);
  if (GetParam().meanwhile) GetParam().meanwhile(*view);
  window.answer(GetParam().move, GetParam().stopAsking);
  EXPECT_EQ(viewHost.trashed.size(), GetParam().trashed ? 1u : 0u);
  // The status line follows: what went is no longer counted.
  EXPECT_EQ(window.status.bytes, (GetParam().trashed ? 3u : 18u) * 512);
  EXPECT_EQ(window.status.files, GetParam().trashed ? 1u : 3u);
  EXPECT_EQ(window.status.folders, GetParam().trashed ? 0u : 1u);
  EXPECT_EQ(controller->asksBeforeTrash(), !GetParam().stopAsking);
  if (GetParam().stopAsking) {  // the next item inside goes without a question
    selectInner();
    if (!view->selected() || view->selected()->url.path() != "/data/inner") return;
    controller->deleteSelectedElement();
    EXPECT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(viewHost.trashed.size(), 1u);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Answers, TMTrashAnswers,
    ::testing::Values(
        TrashAnswerCase{"cancel keeps it", false, false, nullptr, false},
        TrashAnswerCase{"move takes it", true, false, nullptr, true},
        TrashAnswerCase{"move and stop asking", true, true, nullptr, true},
        TrashAnswerCase{"cancel and stop asking", false, true, nullptr, false},
        TrashAnswerCase{"another selection meanwhile", true, false,
                        [](TMTreeMapView& v) {
                          v.mouseDown();
                          v.mouseUp({395, 5}, 1);
                        },
                        false},
        TrashAnswerCase{"nothing selected meanwhile", true, false,
                        [](TMTreeMapView& v) { v.setTreeMap(nullptr, TMFileURL::fromPath("/data")); }, false}),
    caseNamesByName);

// Several items: their totals count what lies inside a selected folder
// once; one question for all, acted on only while they are still selected.
struct SeveralCase {
  const char* name;
  std::vector<std::string> paths;
  uint64_t items, blocks, files, folders;
  std::function<void(TMTreeMapView&)> meanwhile;
  std::vector<std::string> trashed;
};
class TMSeveralSelected : public TMMainWindowControllerTest, public ::testing::WithParamInterface<SeveralCase> {};

TEST_P(TMSeveralSelected, AreCountedOnceAskedAboutOnceAndTrashedTogether) {
  make(std::make_shared<TMMemoryFileSystem>(E::directory(
      "data", {E::directory("inner", {E::file("a", 10), E::directory("deep", {E::file("b", 5)})}), E::file("c", 3),
               E::file("d", 1)})));
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  controller->openURL(TMFileURL::fromPath("/data"));
  runToEnd();
  std::vector<TMFileURL> urls;
  for (const std::string& path : GetParam().paths) urls.push_back(TMFileURL::fromPath(path));
  view->selectItems(urls);
  ASSERT_TRUE(window.status.selection.has_value());
  const TMSelectionStatus& selection = *window.status.selection;
  EXPECT_EQ(selection.items, GetParam().items);
  EXPECT_EQ(selection.bytes, GetParam().blocks * 512);
  EXPECT_EQ(selection.files, GetParam().files);
  EXPECT_EQ(selection.folders, GetParam().folders);
  controller->deleteSelectedElement();
  ASSERT_EQ(window.questions.size(), 1u);
  EXPECT_EQ(window.questions[0].items.size(), GetParam().items);
  EXPECT_EQ(window.questions[0].bytes, GetParam().blocks * 512);
  EXPECT_EQ(window.questions[0].files, GetParam().files);
  if (GetParam().meanwhile) GetParam().meanwhile(*view);
  window.answer(true, false);
  runToEnd();
  std::vector<std::string> trashed;
  for (const TMFileURL& url : viewHost.trashed) trashed.push_back(url.path());
  EXPECT_EQ(trashed, GetParam().trashed);
}
INSTANTIATE_TEST_SUITE_P(
    Selections, TMSeveralSelected,
    ::testing::Values(
        SeveralCase{"two files", {"/data/c", "/data/d"}, 2, 4, 2, 0, nullptr, {"/data/c", "/data/d"}},
        SeveralCase{"a folder, a file inside it and another file",
                    {"/data/inner", "/data/inner/deep/b", "/data/c"}, 2, 18, 3, 2, nullptr, {"/data/inner", "/data/c"}},
        SeveralCase{"one of them let go of meanwhile", {"/data/c", "/data/d"}, 2, 4, 2, 0,
                    [](TMTreeMapView& v) { v.selectItems({TMFileURL::fromPath("/data/c"), TMFileURL::fromPath("/data/inner")}); },
                    {}}),
    caseNamesByName);

TEST_F(TMMainWindowControllerTest, TheStatusTellsTheScanAndAtItsEndWhatTheFolderHolds) {
  make(std::make_shared<TMMemoryFileSystem>(E::directory(
      "data", {E::directory("inner", {E::file("a", 10), E::file("b", 5)}), E::file("c", 3)})));
  controller->openURL(TMFileURL::fromPath("/data"));
  EXPECT_TRUE(window.status.scanning);
  runToEnd();
  EXPECT_FALSE(window.status.scanning);
  EXPECT_EQ(window.status.entries, 4u);
  EXPECT_EQ(window.status.files, 3u);
  EXPECT_EQ(window.status.folders, 1u);
  EXPECT_EQ(window.status.bytes, 18u * 512);
  EXPECT_FALSE(window.status.volume);
  // Told again later (the units of sizes changed): the time it took stays.
  const double took = window.status.seconds;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  controller->refreshSizeTexts();
  EXPECT_EQ(window.status.seconds, took);
}

// The bar tells how far a scan is; once it is complete there is nothing
// more to tell.
class TMCompleteScanBar : public TMMainWindowControllerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TMCompleteScanBar, GoesOnceTheMapIsShown) {
  const bool volume = GetParam();
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(dataFolderOf(3000));
  if (volume) fileSystem->sizes = {uint64_t(1) << 30, uint64_t(1) << 29};
  make(fileSystem);
  controller->openURL(TMFileURL::fromPath(volume ? "/" : "/data"));
  EXPECT_TRUE(window.progressVisible);
  runToEnd();
  EXPECT_FALSE(window.progressVisible);
}

INSTANTIATE_TEST_SUITE_P(Scans, TMCompleteScanBar, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "AVolume" : "AFolder");
                         });

// A listing that holds still past its first 5,000 entries until released:
// a scan stopped there is stopped mid-folder, however busy the machine.
class TMHeldFileSystem : public TMMemoryFileSystem {
 public:
  using TMMemoryFileSystem::TMMemoryFileSystem;
  int statAt(int directory, const char* name, struct stat* result, bool* isMountRoot) const override {
    if (++examined_ > 5000) {
      while (!released.load()) std::this_thread::yield();
    }
    return TMMemoryFileSystem::statAt(directory, name, result, isMountRoot);
  }
  std::atomic<bool> released{false};

 private:
  mutable std::atomic<int> examined_{0};
};

TEST_F(TMMainWindowControllerTest, StoppingShowsWhatWasFoundAndNothingAfter) {
  auto fileSystem = std::make_shared<TMHeldFileSystem>(dataFolderOf(30000));
  make(fileSystem);
  controller->openURL(TMFileURL::fromPath("/data"));
  while (controller->scannedElementCount() < 2000) std::this_thread::yield();
  // The stop is asked while the listing holds still; it waits for the scan.
  std::thread release([&fileSystem] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fileSystem->released = true;
  });
  controller->stopScanning();
  release.join();
  EXPECT_FALSE(window.animating);
  const int before = handOvers;
  runToEnd();
  EXPECT_FALSE(controller->isScanning());
  EXPECT_TRUE(window.status.stopped);
  EXPECT_FALSE(window.progressVisible);  // how far a folder's scan got is not known: no full bar
  // The folder it was listing is marked, counted and told as partial.
  EXPECT_EQ(window.status.cutShortFolders, 1u);
  EXPECT_TRUE(controller->curentlyNavigated()->asFolder()->wasCutShort());
  const TMGeometryGatherer& frame = *view->geometry();
  EXPECT_EQ(std::count(frame.getStyles(), frame.getStyles() + frame.rectangleCount(), TMRectStyle::kDotted), 1);
  const std::optional<TMNodeDescription> root = view->describeNodeAt({200, 293});
  ASSERT_TRUE(root.has_value());
  EXPECT_TRUE(root->cutShort);
  EXPECT_EQ(root->readError, 0);
  ASSERT_NE(view->root(), nullptr);
  EXPECT_EQ(view->root()->file, controller->curentlyNavigated().get());
  // The full map only: steps posted before the stop change nothing.
  EXPECT_EQ(handOvers, before + 1);
}

TEST_F(TMMainWindowControllerTest, AFullMapBuiltForAFolderNoLongerShownIsDropped) {
  make(std::make_shared<TMMemoryFileSystem>(dataFolderOf(5000)));
  controller->openURL(TMFileURL::fromPath("/data"));
  // Until the end notice has started the full map: the shallow one stays.
  while (window.animating) queue->runNextWithin(std::chrono::milliseconds(20));
  EXPECT_TRUE(controller->isScanning());
  EXPECT_FALSE(controller->canDeleteSelection());
  const std::shared_ptr<TMFileTree> first = controller->curentlyNavigated();
  // The new scan starts once the full map's job has let go of the tree.
  controller->openURL(TMFileURL::fromPath("/data"));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (controller->curentlyNavigated() == first && std::chrono::steady_clock::now() < deadline)
    queue->runNextWithin(std::chrono::milliseconds(20));
  ASSERT_NE(controller->curentlyNavigated(), first);
  runToEnd();
  ASSERT_NE(view->root(), nullptr);
  EXPECT_EQ(view->root()->file, controller->curentlyNavigated().get());
}

struct UnreadableCase {
  const char* name;
  std::set<std::string> unopenable, denied;
  std::vector<std::string> reported;  // relative paths, in the order met
  uint64_t folders;                    // folders seen, kept as folders
  int many = 0;  // more folders, "many/u0"…, that cannot be opened, met in any order
};
class TMUnreadableFolders : public TMMainWindowControllerTest,
                            public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(TMUnreadableFolders, AreCountedNamedAndKeepTheirKind) {
  TMTemporaryTree tree;
  tree.makeFolder("box/sub");
  tree.makeFile("box/sub/inside", 5000);
  tree.makeFile("box/file", 5000);
  tree.makeFile("open", 10);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->unopenableFolders = GetParam().unopenable;
  fileSystem->deniedEntries = GetParam().denied;
  std::vector<std::string> reported;
  for (const std::string& relative : GetParam().reported) reported.push_back(tree.pathOf(relative));
  for (int i = 0; i < GetParam().many; ++i) {
    tree.makeFolder("many/u" + std::to_string(i));
    fileSystem->unopenableFolders.insert("u" + std::to_string(i));
    reported.push_back(tree.pathOf("many/u" + std::to_string(i)));
  }
  make(fileSystem);
  controller->openURL(TMFileURL::fromPath(tree.path()));
  runToEnd();
  const std::vector<std::string> all = pathsOf(controller->unreadableFolders());
  if (GetParam().many == 0) {
    EXPECT_EQ(all, reported);
  }
  EXPECT_TRUE(std::is_permutation(all.begin(), all.end(), reported.begin(), reported.end()));
  EXPECT_EQ(window.status.unreadableFolders, reported.size());
  // The status names the first few, in the order met.
  const size_t told = std::min(all.size(), TMScanStatus::kUnreadableFoldersTold);
  EXPECT_EQ(window.status.firstUnreadableFolders, std::vector<std::string>(all.begin(), all.begin() + told));
  EXPECT_EQ(window.status.folders, GetParam().folders);
  // Each is marked on its node, with why, and every folder above it too.
  EXPECT_TRUE(controller->curentlyNavigated()->asFolder()->holdsUnreadable());
  for (const std::string& relative : GetParam().reported) {
    const TMFileTree* node = controller->curentlyNavigated().get();
    for (const std::string& part : TMFileURL::fromPath("/" + relative).pathComponents()) {
      if (part == "/") continue;
      const TMChildList* children = node->asFolder()->children();
      for (uint32_t i = 0; children && i < children->count(); ++i) {
        if (children->at(i)->filename() == part) node = children->at(i);
      }
    }
    ASSERT_NE(node->asFolder(), nullptr) << relative;
    EXPECT_NE(node->asFolder()->readError(), 0) << relative;
  }
}
INSTANTIATE_TEST_SUITE_P(
    Faults, TMUnreadableFolders,
    ::testing::Values(UnreadableCase{"a folder that cannot be opened", {"box"}, {}, {"box"}, 1},
                      UnreadableCase{"entries that may not be examined", {"sub"}, {"sub", "file"}, {"box/sub", "box"}, 2},
                      UnreadableCase{"more than the status names", {}, {}, {}, 10, 7}),
    caseNamesByName);

struct UnscannableCase {
  const char* name;
  std::string relative;  // below a temporary folder holding the file "plain"
  std::string reason;
};
class TMUnscannablePaths : public TMMainWindowControllerTest,
                           public ::testing::WithParamInterface<UnscannableCase> {};

TEST_P(TMUnscannablePaths, SayWhyAndStayOutOfTheRecentFolders) {
  TMTemporaryTree tree;
  tree.makeFile("plain", 10);
  make(TMFileSystem::posix());
  controller->awakeFromNib(TMGlobalQueues::sharedQueues());
  controller->openURL(TMFileURL::fromPath(tree.path()));  // a scan runs, then the bad path comes
  window.recent.clear();
  controller->openURL(TMFileURL::fromPath(tree.pathOf(GetParam().relative)));
  EXPECT_EQ(window.openFailures,
            std::vector<std::string>{tree.pathOf(GetParam().relative) + ": " + GetParam().reason});
  EXPECT_TRUE(window.messageShown);
  EXPECT_TRUE(window.recent.empty());
  EXPECT_FALSE(controller->scannedUrl().has_value());
  EXPECT_FALSE(controller->isScanning());
  EXPECT_FALSE(window.animating);
  EXPECT_TRUE(controller->atTopLevel() && controller->atMaximumZoom());
  queue->runPending();  // what the stopped scan posted changes nothing
  EXPECT_EQ(view->root(), nullptr);
}
INSTANTIATE_TEST_SUITE_P(Paths, TMUnscannablePaths,
                         ::testing::Values(UnscannableCase{"missing", "gone", "No such file or directory"},
                                           UnscannableCase{"a plain file", "plain", "Not a folder"},
                                           UnscannableCase{"below a plain file", "plain/x", "Not a directory"}),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora::test
