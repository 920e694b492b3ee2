// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/TMSavedScanStream.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMInterimReadGuard.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMProgressNotifiable.h"
#include "core/scan/TMScanTask.h"
#include "import/TMLazyTreeLoader.h"
#include "import/TMTreeBinaryExport.h"
#include "import/TMTreeExport.h"
#include "support/TMCaseNames.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

using namespace std::chrono_literals;

// A saved scan of /srv/t: a folder "a" of `files` files of 4096 bytes
// each, then the file "last" of 1 MiB; the text up to "last" is what a
// reader gets before the rest comes.
struct SavedScanText {
  std::string head;
  std::string rest;
};

SavedScanText jsonScan(int files) {
  SavedScanText text;
  text.head = "[1,2,{\"progname\":\"test\",\"timestamp\":1700000000},\n[{\"name\":\"/srv/t\"},\n[{\"name\":\"a\"}";
  for (int i = 0; i < files; ++i)
    text.head += ",\n{\"name\":\"file-with-a-long-name-" + std::to_string(i) + "\",\"asize\":4000,\"dsize\":4096}";
  text.head += "],\n";
  text.rest = "{\"name\":\"last\",\"asize\":1048576,\"dsize\":1048576}]]\n";
  return text;
}

SavedScanText cacheScan(int files) {
  SavedScanText text;
  text.head = "[qdirstat 1.0 cache file]\nD /srv/t 0 0\nD /srv/t/a 0 0\n";
  for (int i = 0; i < files; ++i) text.head += "F file-with-a-long-name-" + std::to_string(i) + " 4K 0\n";
  text.rest = "F /srv/t/last 1M 0\n";
  return text;
}

struct Counter : TMProgressNotifiable {
  std::atomic<uint64_t> count{0};
  void notifyFileScanned() override { ++count; }
};

// A pipe whose read end the stream opens by its path, the test writing.
class Pipe {
 public:
  Pipe() {
    int ends[2];
    EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    path_ = "/proc/self/fd/" + std::to_string(ends[0]);
    read_ = ends[0];
    write_ = ends[1];
  }
  ~Pipe() {
    closeWriting();
    if (read_ >= 0) ::close(read_);
  }
  const std::string& path() const { return path_; }
  // Once the stream has opened its own end.
  void closeReading() { ::close(std::exchange(read_, -1)); }
  void write(const std::string& text) {
    for (size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(write_, text.data() + done, text.size() - done);
      ASSERT_GT(n, 0);
      done += size_t(n);
    }
  }
  void closeWriting() {
    if (write_ >= 0) ::close(std::exchange(write_, -1));
  }

 private:
  std::string path_;
  int read_ = -1;
  int write_ = -1;
};

struct LiveReading {
  std::shared_ptr<TMManualMainQueue> queue = std::make_shared<TMManualMainQueue>();
  std::shared_ptr<Counter> counter = std::make_shared<Counter>();
  std::shared_ptr<TMFileTree> root;
  std::vector<std::string> rootComponents;
  std::optional<TMImportResult> end;
  std::shared_ptr<TMScanTask> task;

  explicit LiveReading(const std::string& path) {
    TMSavedScanStreamHandlers handlers;
    handlers.progress = counter;
    handlers.rootKnown = [this](std::shared_ptr<TMFileTree> shown, const TMImportedScan& scan) {
      root = std::move(shown);
      rootComponents = scan.rootComponents;
    };
    handlers.ended = [this](TMImportResult result) { end = std::move(result); };
    task = streamSavedScan(savedScanFileAt(path), std::move(handlers), queue);
  }
  // A reading still waiting on the pipe stops with the test.
  ~LiveReading() {
    if (task) task->requestStop();
  }
  // Serves the queue until `done` holds, for at most 10 s.
  template <class Done>
  bool serveUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      queue->runNextWithin(10ms);
    }
    return true;
  }
};

struct StreamCase {
  const char* name;
  SavedScanText (*text)(int files);
};

class TMSavedScanStream : public ::testing::TestWithParam<StreamCase> {};

// 2,000 files: more than one read's worth of text, so that the tree is seen
// before the end comes.
constexpr int kFiles = 2000;

TEST_P(TMSavedScanStream, TheTreeGrowsAsTheTextArrivesAndEndsWhole) {
  const SavedScanText text = GetParam().text(kFiles);
  Pipe pipe;
  LiveReading reading(pipe.path());
  ASSERT_NE(reading.task, nullptr);
  pipe.write(text.head);
  // The folder "a" and its files are shown before the rest is written.
  ASSERT_TRUE(reading.serveUntil([&] {
    return reading.root && reading.root->diskSize() == uint64_t(kFiles) * 4096;
  }));
  EXPECT_EQ(reading.rootComponents, (std::vector<std::string>{"/", "srv", "t"}));
  EXPECT_FALSE(reading.end.has_value());
  {
    TMInterimReadGuard guard;  // read while the tree may still grow, as the window's readers do
    EXPECT_EQ(childNames(reading.root.get()), (std::vector<std::string>{"a"}));
  }
  pipe.closeReading();
  pipe.write(text.rest);
  pipe.closeWriting();
  ASSERT_TRUE(reading.serveUntil([&] { return reading.end.has_value(); }));
  const auto* scan = std::get_if<TMImportedScan>(&*reading.end);
  ASSERT_NE(scan, nullptr) << std::get<TMImportError>(*reading.end).text();
  // The tree that grew, sorted at its end, with the counts of a whole read.
  EXPECT_EQ(scan->root, reading.root);
  EXPECT_EQ(childNames(scan->root.get()), (std::vector<std::string>{"a", "last"}));
  EXPECT_EQ(scan->root->diskSize(), uint64_t(kFiles) * 4096 + 1048576);
  EXPECT_EQ(scan->files, uint64_t(kFiles) + 1);
  EXPECT_EQ(scan->folders, 1u);
  EXPECT_EQ(reading.counter->count.load(), uint64_t(kFiles) + 2);
}

TEST_P(TMSavedScanStream, ATextCutShortEndsInAnErrorNotATree) {
  const SavedScanText text = GetParam().text(kFiles);
  Pipe pipe;
  LiveReading reading(pipe.path());
  pipe.write(text.head);
  ASSERT_TRUE(reading.serveUntil([&] { return reading.root != nullptr; }));
  pipe.closeReading();
  // Half of the last line, then the writer goes (a helper that died).
  pipe.write(text.rest.substr(0, text.rest.size() / 2));
  pipe.closeWriting();
  ASSERT_TRUE(reading.serveUntil([&] { return reading.end.has_value(); }));
  EXPECT_TRUE(std::holds_alternative<TMImportError>(*reading.end));
}

TEST_P(TMSavedScanStream, AStopEndsASilentReadAtOnceAndTellsNothing) {
  Pipe pipe;
  LiveReading reading(pipe.path());
  pipe.write(GetParam().text(10).head);
  ASSERT_TRUE(reading.serveUntil([&] { return reading.root != nullptr; }));
  // The writer stays, silent: a stalled remote scan.
  const auto asked = std::chrono::steady_clock::now();
  reading.task->requestStop();
  reading.task->waitUntilFinished();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s);
  reading.queue->runPending();
  EXPECT_FALSE(reading.end.has_value());
}

TEST(TMSavedScanStreamOfABinaryExport, IsReadAFolderAtATimeFromItsFile) {
  const SavedScanText text = jsonScan(kFiles);
  const std::string json = text.head + text.rest;
  std::FILE* input = ::fmemopen(const_cast<char*>(json.data()), json.size(), "r");
  TMImportResult whole = importNcduExport(input);
  std::fclose(input);
  ASSERT_TRUE(std::holds_alternative<TMImportedScan>(whole));
  char path[] = "/tmp/tilemora-stream-XXXXXX";
  const int descriptor = ::mkstemp(path);
  std::FILE* out = ::fdopen(descriptor, "w");
  ASSERT_TRUE(writeTreeBinaryExport(*std::get<TMImportedScan>(whole).root, {"/srv/t", "t", "1", 0, ""}, out));
  std::fclose(out);
  LiveReading reading(path);
  ASSERT_TRUE(reading.serveUntil([&] { return reading.end.has_value(); }));
  ::unlink(path);
  const auto* scan = std::get_if<TMImportedScan>(&*reading.end);
  ASSERT_NE(scan, nullptr) << std::get<TMImportError>(*reading.end).text();
  EXPECT_EQ(scan->root, reading.root);
  EXPECT_EQ(reading.rootComponents, (std::vector<std::string>{"/", "srv", "t"}));
  EXPECT_EQ(childNames(scan->root.get()), (std::vector<std::string>{"a", "last"}));
  EXPECT_EQ(scan->root->diskSize(), uint64_t(kFiles) * 4096 + 1048576);
  EXPECT_EQ(scan->files, uint64_t(kFiles) + 1);
  // Read whole at once: small enough, nothing left for later.
  EXPECT_EQ(scan->unreadFolders, 0u);
  EXPECT_EQ(scan->loader, nullptr);
  EXPECT_EQ(reading.counter->count.load(), uint64_t(kFiles) + 2);
}

INSTANTIATE_TEST_SUITE_P(Formats, TMSavedScanStream,
                         ::testing::Values(StreamCase{"a JSON export", jsonScan},
                                           StreamCase{"a QDirStat cache file", cacheScan}),
                         [](const auto& info) { return identifierFrom(info.param.name); });

TEST(TMSavedScanStream, AFileThatCannotBeOpenedIsAnErrorWithoutARoot) {
  LiveReading reading("/nonexistent/saved-scan.json");
  ASSERT_TRUE(reading.serveUntil([&] { return reading.end.has_value(); }));
  ASSERT_TRUE(std::holds_alternative<TMImportError>(*reading.end));
  EXPECT_EQ(std::get<TMImportError>(*reading.end).message, "No such file or directory");
  EXPECT_EQ(reading.root, nullptr);
}

}  // namespace
}  // namespace tilemora::test
