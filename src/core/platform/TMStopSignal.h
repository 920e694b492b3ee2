// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stop request as a descriptor: an eventfd that becomes readable once the
// stop token is asked to stop, so that a read or write waiting in poll()
// on a pipe nobody serves wakes up and gives up.

#include <functional>
#include <optional>
#include <stop_token>

namespace tilemora {

class TMStopSignal {
 public:
  // Follows `token`; a token that can never stop gives no descriptor.
  explicit TMStopSignal(std::stop_token token);
  ~TMStopSignal();
  TMStopSignal(const TMStopSignal&) = delete;
  TMStopSignal& operator=(const TMStopSignal&) = delete;

  // Readable once stopping is asked; -1 when it never can be.
  int descriptor() const { return descriptor_; }
  bool requested() const { return token_.stop_requested(); }

  // Waits until `descriptor` is ready for `events` (POLLIN, POLLOUT) or a
  // stop is asked, at most `milliseconds` (-1: no limit); answers whether
  // it is ready, false on a stop, a time-out or an error (errno set:
  // ECANCELED for a stop, ETIMEDOUT).
  bool waitFor(int descriptor, short events, int milliseconds = -1) const;

 private:
  std::stop_token token_;
  int descriptor_ = -1;
  std::optional<std::stop_callback<std::function<void()>>> callback_;
};

}  // namespace tilemora
