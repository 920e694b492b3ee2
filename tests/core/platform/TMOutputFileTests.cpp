// SPDX-License-Identifier: GPL-3.0-or-later
// An output that is a pipe: written whole when someone reads it, and never
// blocking past a stop when no one does, whether no reader ever opens it
// or a reader stops reading.

#include "core/platform/TMOutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "support/TMCaseNames.h"
#include "support/TMTemporaryTree.h"

namespace tilemora::test {
namespace {

using Clock = std::chrono::steady_clock;

struct PipeCase {
  std::string name;
  bool readerOpens;
  bool readerReads;
};

class TMOutputFilePipes : public ::testing::TestWithParam<PipeCase> {};

TEST_P(TMOutputFilePipes, AreWrittenWholeOrGiveUpWhenStopped) {
  const PipeCase& c = GetParam();
  std::signal(SIGPIPE, SIG_IGN);  // a reader gone is a write error, as for the programs
  TMTemporaryTree tree;
  tree.makeFifo("fifo");
  const std::string fifo = tree.pathOf("fifo");
  std::stop_source stop;
  size_t read = 0;
  std::thread reader([&] {
    if (!c.readerOpens) return;
    const int descriptor = ::open(fifo.c_str(), O_RDONLY | O_CLOEXEC);
    char buffer[1 << 16];
    for (ssize_t n; c.readerReads && (n = ::read(descriptor, buffer, sizeof buffer)) > 0;) read += size_t(n);
    if (!c.readerReads) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::close(descriptor);
  });
  // Far more than a pipe holds.
  const std::string text(4 << 20, 'x');
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    if (!c.readerReads) stop.request_stop();
  });
  const auto start = Clock::now();
  std::string error;
  bool written = false;
  if (std::unique_ptr<TMOutputFile> file = TMOutputFile::create(fifo, error, -1, stop.get_token())) {
    written = std::fwrite(text.data(), 1, text.size(), file->stream()) == text.size() && file->commit(error);
    if (!written && error.empty()) error = file->writeError();
  }
  const auto took = Clock::now() - start;
  stopper.join();
  reader.join();
  EXPECT_EQ(written, c.readerReads) << error;
  if (c.readerReads) {
    EXPECT_EQ(read, text.size());
  } else {
    EXPECT_EQ(error, std::strerror(ECANCELED));
    EXPECT_LT(took, std::chrono::seconds(5));
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, TMOutputFilePipes,
                         ::testing::Values(PipeCase{"a reader that reads it all", true, true},
                                           PipeCase{"no reader ever", false, false},
                                           PipeCase{"a reader that stalls", true, false}),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora::test
