// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting on a descriptor with a stop: ready when it is, given up with
// ECANCELED once a stop is asked (before the wait or during it, from
// another thread), ETIMEDOUT when the time runs out first.

#include "core/platform/TMStopSignal.h"

#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

enum class Stop { kNever, kBefore, kDuring, kImpossible };

struct WaitCase {
  std::string name;
  short events;  // on a fresh pipe: POLLOUT is ready at once, POLLIN never
  Stop stop;
  int milliseconds;
  bool ready;
  int error;  // errno when not ready
};

void PrintTo(const WaitCase& c, std::ostream* os) { *os << c.name; }

class TMStopSignalWait : public ::testing::TestWithParam<WaitCase> {};

TEST_P(TMStopSignalWait, AnswersReadyStoppedOrTimedOut) {
  const WaitCase& c = GetParam();
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const int watched = c.events == POLLOUT ? ends[1] : ends[0];
  std::stop_source source;
  if (c.stop == Stop::kBefore) source.request_stop();
  const TMStopSignal signal(c.stop == Stop::kImpossible ? std::stop_token() : source.get_token());
  EXPECT_EQ(signal.descriptor() >= 0, c.stop != Stop::kImpossible);
  std::jthread stopper([&] {
    if (c.stop != Stop::kDuring) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    source.request_stop();
  });
  errno = 0;
  const bool ready = signal.waitFor(watched, c.events, c.milliseconds);
  const int error = errno;
  stopper.join();
  EXPECT_EQ(ready, c.ready);
  if (!c.ready) {
    EXPECT_EQ(error, c.error);
  }
  ::close(ends[0]);
  ::close(ends[1]);
}

INSTANTIATE_TEST_SUITE_P(
    Waits, TMStopSignalWait,
    ::testing::Values(WaitCase{"an output with room", POLLOUT, Stop::kNever, -1, true, 0},
                      WaitCase{"a stop asked before the wait", POLLIN, Stop::kBefore, -1, false, ECANCELED},
                      WaitCase{"a stop asked during the wait", POLLIN, Stop::kDuring, -1, false, ECANCELED},
                      WaitCase{"a stop during a wait with a limit", POLLIN, Stop::kDuring, 10000, false, ECANCELED},
                      WaitCase{"nothing comes within the limit", POLLIN, Stop::kNever, 30, false, ETIMEDOUT},
                      WaitCase{"a token that cannot stop waits the limit out", POLLIN, Stop::kImpossible, 30, false,
                               ETIMEDOUT}),
    [](const auto& info) { return identifierFrom(info.param.name); });

}  // namespace
}  // namespace tilemora::test
