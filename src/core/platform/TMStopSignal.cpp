// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMStopSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tilemora {

TMStopSignal::TMStopSignal(std::stop_token token) : token_(std::move(token)) {
  if (!token_.stop_possible()) return;
  descriptor_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (descriptor_ < 0) return;
  // Runs at once when stopping was asked already.
  callback_.emplace(token_, std::function<void()>([descriptor = descriptor_] {
                      const uint64_t one = 1;
                      ssize_t written = ::write(descriptor, &one, sizeof one);
                      (void)written;
                    }));
}

TMStopSignal::~TMStopSignal() {
  callback_.reset();  // no write after the close
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool TMStopSignal::waitFor(int descriptor, short events, int milliseconds) const {
  pollfd watched[2] = {{descriptor, events, 0}, {descriptor_, POLLIN, 0}};
  for (;;) {
    if (requested()) {
      errno = ECANCELED;
      return false;
    }
    const int ready = ::poll(watched, descriptor_ >= 0 ? 2 : 1, milliseconds);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return false;
    if (ready == 0) {
      errno = ETIMEDOUT;
      return false;
    }
    if (watched[0].revents != 0) return true;
  }
}

}  // namespace tilemora
