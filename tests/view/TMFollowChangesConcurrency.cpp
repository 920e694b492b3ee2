// SPDX-License-Identifier: GPL-3.0-or-later
// Following changes in a window's session: the watcher's and the listing's
// jobs against a real folder changed by the test, the map refreshed in
// place with the folder shown, the zoom and the selection kept where their
// items still are, and a plan made from an older tree refused.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "core/filetree/TMFolderTree.h"
#include "core/layout/TMLayoutNode.h"
#include "core/platform/TMManualMainQueue.h"
#include "support/TMCaseNames.h"
#include "support/TMFakeHosts.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"
#include "view/controller/TMGlobalQueues.h"
#include "view/session/TMSession.h"

namespace tilemora {
namespace {

using namespace test;
using Clock = std::chrono::steady_clock;
constexpr uint64_t kBlock = 4096;

class TMFollowingSession : public ::testing::Test {
 public:
  void SetUp() override {
    files.makeFolder("a");
    files.makeFile("a/one", 30 * kBlock);
    files.makeFile("a/two", 20 * kBlock);
    files.makeFolder("b/c");
    files.makeFile("b/c/three", 40 * kBlock);
    files.makeFile("top", 50 * kBlock);
    files.makeFolder("z");
    files.makeFile("z/empty");  // laid out as a leaf: nothing in it takes room
    view = std::make_unique<TMTreeMapView>(viewHost, std::make_shared<TMFixedWidthMeasurer>(20), 800, 600);
    session = std::make_unique<TMSession>(window, *view, TMScanEnvironment{queue});
    session->controller().awakeFromNib(TMGlobalQueues::sharedQueues());
    session->setFollowChanges(true);
    openAndFollow();
  }

  void openAndFollow() {
    session->controller().openURL(TMFileURL::fromPath(files.path()));
    // Followed once every folder has its watch.
    serveUntil([&] { return window.status.following && window.status.followedFolders == 5; });
    ASSERT_EQ(window.status.followedFolders, 5u);
  }

  template <class Done>
  bool serveUntil(Done done, std::chrono::milliseconds within = std::chrono::seconds(20)) {
    const auto deadline = Clock::now() + within;
    while (!done() && Clock::now() < deadline) queue->runNextWithin(std::chrono::milliseconds(5));
    return done();
  }
  TMFileURL url(const std::string& relative) const { return TMFileURL::fromPath(files.pathOf(relative)); }
  uint64_t shownBytes() const { return session->shownTree()->diskSize(); }

  std::shared_ptr<TMManualMainQueue> queue = std::make_shared<TMManualMainQueue>();
  TMFakeWindowHost window;
  TMFakeViewHost viewHost;
  TMTemporaryTree files;
  std::unique_ptr<TMTreeMapView> view;
  std::unique_ptr<TMSession> session;
};

struct ViewCase {
  std::string name;
  std::function<void(TMFollowingSession&)> before;  // on the map, before the change
  std::function<void(const TMTemporaryTree&)> change;
  uint64_t bytesAfter;                               // the scanned folder's, in blocks
  std::string shownAfter;                            // below the scanned folder; "" for itself
  std::string selectedAfter;                         // "-" for nothing
};

class TMFollowingSessionView : public TMFollowingSession, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(TMFollowingSessionView, ShowsTheChangeWhereTheUserLooks) {
  const ViewCase& c = GetParam();
  c.before(*this);
  if (c.selectedAfter != "-") {
    ASSERT_NE(view->selected(), nullptr);
    ASSERT_EQ(view->selected()->url, url(c.selectedAfter));
  }
  const TMRect zoom = view->current()->size;
  const std::string shownBefore = view->current()->url.path();
  c.change(files);
  ASSERT_TRUE(serveUntil([&] { return shownBytes() == c.bytesAfter * kBlock; })) << shownBytes();
  EXPECT_EQ(window.status.bytes, c.bytesAfter * kBlock);
  EXPECT_EQ(view->current()->url, c.shownAfter.empty() ? TMFileURL::fromPath(files.path()) : url(c.shownAfter));
  // Still on the same folder: zoomed as it was; on another: unzoomed.
  EXPECT_EQ(view->current()->size, view->current()->url.path() == shownBefore ? zoom : view->frame());
  if (c.selectedAfter == "-") {
    EXPECT_EQ(view->selected(), nullptr);
  } else {
    ASSERT_NE(view->selected(), nullptr);
    EXPECT_EQ(view->selected()->url, url(c.selectedAfter));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TMFollowingSessionView,
    ::testing::Values(
        ViewCase{"a file created in the folder shown, zoomed in",
                 [](TMFollowingSession& s) {
                   s.view->focusOn(s.url("a"));
                   s.viewHost.finishAnimation();
                   s.view->stretchBy(-0.5, -0.5);
                 },
                 [](const TMTemporaryTree& f) { f.makeFile("a/new", 60 * kBlock); }, 200, "a", "a"},
        ViewCase{"the selection grows",
                 [](TMFollowingSession& s) {
                   s.view->selectURL(s.url("a/two"));
                   s.viewHost.finishAnimation();
                 },
                 [](const TMTemporaryTree& f) { f.makeFile("a/two", 70 * kBlock); }, 190, "", "a/two"},
        ViewCase{"the folder shown goes",
                 [](TMFollowingSession& s) {
                   s.view->stretchBy(-0.5, -0.5);  // zoomed at the top first
                   s.view->focusOn(s.url("b/c"));
                   s.viewHost.finishAnimation();
                   s.view->selectURL(s.url("b/c/three"));
                 },
                 [](const TMTemporaryTree& f) { TMTemporaryTree::removeRecursively(AT_FDCWD, f.pathOf("b").c_str()); },
                 100, "", "-"},
        ViewCase{"a new folder in an empty map area",
                 [](TMFollowingSession& s) {
                   s.view->selectURL(s.url("top"));
                   s.viewHost.finishAnimation();
                 },
                 [](const TMTemporaryTree& f) {
                   f.makeFolder("d/e");
                   f.makeFile("d/e/deep", 80 * kBlock);
                 },
                 220, "", "top"}),
    caseNamesByName);

TEST_F(TMFollowingSession, ANewScanOfTheFolderIsFollowedInItsTurn) {
  openAndFollow();
  files.makeFile("late", 5 * kBlock);
  EXPECT_TRUE(serveUntil([&] { return shownBytes() == 145 * kBlock; })) << shownBytes();
}

TEST_F(TMFollowingSession, APlanFromAnOlderTreeIsRefused) {
  TMMainWindowController& controller = session->controller();
  TMFileTree* top = const_cast<TMFileTree*>(childNamed(session->shownTree().get(), "top"));
  TMChangePlan plan;
  TMFolderUpdate update;
  update.folder = session->shownTree()->asFolder();
  update.resized.push_back({top, 1 * kBlock, 1 * kBlock, 1});
  plan.updates.push_back(update);
  plan.treeVersion = controller.treeVersion() - 1;
  EXPECT_FALSE(controller.applyFollowedChanges(plan));
  EXPECT_EQ(top->diskSize(), 50 * kBlock);
  plan.treeVersion = controller.treeVersion();
  EXPECT_TRUE(controller.applyFollowedChanges(plan));
  EXPECT_EQ(top->diskSize(), 1 * kBlock);
  EXPECT_EQ(shownBytes(), 91 * kBlock);
}

TEST_F(TMFollowingSession, TurnedOffNothingIsFollowed) {
  session->setFollowChanges(false);
  EXPECT_FALSE(window.status.following);
  EXPECT_FALSE(session->isFollowingChanges());
  files.makeFile("unseen", 5 * kBlock);
  // Longer than a round takes, for a change that must not come.
  serveUntil([] { return false; }, std::chrono::milliseconds(1500));
  EXPECT_EQ(shownBytes(), 140 * kBlock);
}

}  // namespace
}  // namespace tilemora
