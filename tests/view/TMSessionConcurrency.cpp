// SPDX-License-Identifier: GPL-3.0-or-later
// A window's session while its jobs run: a deletion asked for during a
// search, a comparison, a save to a pipe nobody reads and the read of a
// saved scan from a pipe that stays silent proceeds without the main thread
// waiting, and leaves the session as it would be without the job: the
// item gone from the tree and the trash, every job that read the tree
// stopped and its end told, the rest going on. Run under ThreadSanitizer,
// the same cases prove the hand-overs do not race.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "core/platform/TMManualMainQueue.h"
#include "core/platform/TMTextMeasuring.h"
#include "import/TMTreeExport.h"
#include "support/TMCaseNames.h"
#include "support/TMFakeHosts.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMTemporaryTree.h"
#include "support/TMLayoutFixtures.h"
#include "view/controller/TMGlobalQueues.h"
#include "view/session/TMSession.h"

namespace tilemora::test {
namespace {

using Clock = std::chrono::steady_clock;
using E = TMMemoryEntry;

// What the session told.
struct TMSessionRecord : TMSessionObserver {
  void searchChanged() override { ++searches; }
  void comparisonChanged() override { ++comparisons; }
  void saveEnded(const std::string&, bool saved, const std::string& error) override {
    saves.push_back(saved ? "saved" : error);
  }
  void savingChanged(bool saving) override { savings.push_back(saving); }
  void readFailed(Reading, const TMImportError& error) override { readErrors.push_back(error.message); }
  void itemDeleted(const TMFileTree&) override { ++deletions; }
  int searches = 0;
  int comparisons = 0;
  int deletions = 0;
  std::vector<std::string> saves;
  std::vector<bool> savings;
  std::vector<std::string> readErrors;
};

// R: "victim" (a large file) and folders of many small files.
E manyFiles() {
  std::vector<E> folders;
  for (int f = 0; f < 20; ++f) {
    std::vector<E> files;
    for (int i = 0; i < 2000; ++i) files.push_back(E::file("file-" + std::to_string(i), 1 + i % 5));
    folders.push_back(E::directory("folder-" + std::to_string(f), std::move(files)));
  }
  folders.push_back(E::file("victim", 100000));
  return E::directory("R", std::move(folders));
}

class TMSessionDuringJobs : public ::testing::Test {
 public:
  void SetUp() override {
    view = std::make_unique<TMTreeMapView>(viewHost, std::make_shared<TMFixedWidthMeasurer>(20), 800, 600);
    session = std::make_unique<TMSession>(window, *view,
                                          TMScanEnvironment{queue, std::make_shared<TMMemoryFileSystem>(manyFiles())});
    session->addObserver(record);
    session->controller().setAskBeforeTrash(false);
    session->controller().awakeFromNib(TMGlobalQueues::sharedQueues());
    session->controller().openURL(TMFileURL::fromPath("/R"));
    // Settled: the scan done and its full map built, so that what reads
    // the tree during a case is the case's job alone.
    serveUntil([&] {
      return session->isShownTreeComplete() && !session->controller().isScanning() && !session->jobs().treeIsRead();
    });
    ASSERT_TRUE(session->isShownTreeComplete());
    ASSERT_FALSE(session->jobs().treeIsRead());
  }
  void TearDown() override { session->removeObserver(record); }

  template <class Done>
  void serveUntil(Done done) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!done() && Clock::now() < deadline) queue->runNextWithin(std::chrono::milliseconds(5));
  }
  // Selects "victim" and asks for its deletion; answers the longest the
  // main thread was kept by one step until it went.
  Clock::duration deleteTheVictim() {
    view->selectURL(TMFileURL::fromPath("/R/victim"));
    EXPECT_EQ(view->selected()->url.path(), "/R/victim");
    auto start = Clock::now();
    session->controller().deleteSelectedElement();
    Clock::duration longest = Clock::now() - start;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (viewHost.trashed.empty() && Clock::now() < deadline) {
      start = Clock::now();
      queue->runNextWithin(std::chrono::milliseconds(5));
      longest = std::max(longest, Clock::now() - start);
    }
    return longest;
  }
  uint64_t shownSize() const { return session->shownTree()->diskSize(); }

  std::shared_ptr<TMManualMainQueue> queue = std::make_shared<TMManualMainQueue>();
  TMFakeWindowHost window;
  TMFakeViewHost viewHost;
  std::unique_ptr<TMTreeMapView> view;
  std::unique_ptr<TMSession> session;
  TMSessionRecord record;
  TMTemporaryTree files;
};

// A FIFO in the test's folder; with `reader`, something reads it, slowly.
std::string makeFifo(const TMTemporaryTree& files, const char* name) {
  files.makeFifo(name);
  return files.pathOf(name);
}

struct JobCase {
  std::string name;
  // Starts the job; answers what the deletion expects to have stopped.
  std::function<void(TMSessionDuringJobs&)> start;
  // What holds once the deletion went and everything settled.
  std::function<void(TMSessionDuringJobs&)> check;
};

void PrintTo(const JobCase& c, std::ostream* os) { *os << c.name; }

class TMSessionDeletion : public TMSessionDuringJobs, public ::testing::WithParamInterface<JobCase> {};

TEST_P(TMSessionDeletion, ProceedsAndLeavesTheSessionConsistent) {
  const uint64_t before = shownSize();
  GetParam().start(*this);
  const Clock::duration longest = deleteTheVictim();
  ASSERT_EQ(viewHost.trashed, std::vector<TMFileURL>{TMFileURL::fromPath("/R/victim")});
  EXPECT_EQ(record.deletions, 1);
  EXPECT_EQ(shownSize(), before - 100000 * 512);
  // No step kept the main thread waiting for a job (for the pipe, that
  // would be for ever). Generous: under a sanitizer on a busy machine a
  // step over this tree takes half a second.
  EXPECT_LT(longest, std::chrono::seconds(2));
  GetParam().check(*this);
  serveUntil([&] { return !session->jobs().treeIsRead(); });
  EXPECT_FALSE(session->jobs().treeIsRead());
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, TMSessionDeletion,
    ::testing::Values(
        JobCase{"a search",
                [](TMSessionDuringJobs& t) {
                  // Slow enough to be under way when the deletion comes.
                  t.session->startSearch([](std::string_view name) {
                    std::this_thread::sleep_for(std::chrono::microseconds(20));
                    return name == "victim";
                  });
                  EXPECT_TRUE(t.session->jobs().treeIsRead());
                },
                [](TMSessionDuringJobs& t) {
                  // Stopped: no result of the tree before the deletion; the
                  // window said it waited, then that it no longer did.
                  EXPECT_EQ(t.record.searches, 0);
                  EXPECT_EQ(t.session->searchResult(), nullptr);
                  EXPECT_EQ(t.window.waitings, (std::vector<bool>{true, false}));
                }},
        JobCase{"a comparison",
                [](TMSessionDuringJobs& t) {
                  std::string error;
                  const std::string saved = t.files.pathOf("saved.json");
                  ASSERT_TRUE(saveTreeExport(*t.session->shownTree(), {"/R", "t", "1", 1, ""}, saved, error)) << error;
                  t.session->compareWithSavedScan(saved);
                  t.serveUntil([&] { return t.session->jobs().treeReaderName() == "comparing" ||
                                            t.session->comparison() != nullptr; });
                },
                [](TMSessionDuringJobs& t) {
                  // Compared again once the victim went: it shows as removed.
                  t.serveUntil([&] { return t.session->comparison() && t.session->comparison()->removedItems == 1; });
                  ASSERT_NE(t.session->comparison(), nullptr);
                  EXPECT_EQ(t.session->comparison()->removedItems, 1u);
                  EXPECT_EQ(t.session->comparison()->newTotal, t.shownSize());
                }},
        JobCase{"a save to a pipe nobody reads",
                [](TMSessionDuringJobs& t) {
                  t.session->saveScan(makeFifo(t.files, "fifo"));
                  EXPECT_TRUE(t.session->isSaving());
                },
                [](TMSessionDuringJobs& t) {
                  t.serveUntil([&] { return !t.record.saves.empty(); });
                  EXPECT_EQ(t.record.saves, std::vector<std::string>{"stopped"});
                  t.serveUntil([&] { return !t.session->isSaving(); });
                  EXPECT_FALSE(t.session->isSaving());
                  EXPECT_EQ(t.record.savings, (std::vector<bool>{true, false}));
                }},
        JobCase{"the read of a saved scan from a silent pipe",
                [](TMSessionDuringJobs& t) {
                  t.session->compareWithSavedScan(makeFifo(t.files, "silent"));
                  EXPECT_TRUE(t.session->isReading());
                  EXPECT_NE(t.session->jobs().treeReaderName(), "reading a saved scan");  // nothing of the tree
                },
                [](TMSessionDuringJobs& t) {
                  // It goes on, untouched by the deletion, until stopped.
                  EXPECT_TRUE(t.session->isReading());
                  t.session->stopReading();
                  t.serveUntil([&] { return !t.session->isReading(); });
                  EXPECT_FALSE(t.session->isReading());
                  EXPECT_TRUE(t.record.readErrors.empty());  // a stopped read answers nothing
                }}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
