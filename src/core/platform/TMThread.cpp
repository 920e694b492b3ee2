// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMThread.h"

#include <memory>
#include <utility>

namespace tilemora {

namespace {

void* runBody(void* argument) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
  (*body)();
  return nullptr;
}

}  // namespace

TMThread::TMThread(std::function<void()> body, size_t stackBytes) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, stackBytes);
  int error = pthread_create(&thread_, &attributes, runBody, owned.get());
  if (error != 0) {
    // A smaller stack may still be possible where address space is short.
    pthread_attr_setstacksize(&attributes, size_t(8) << 20);
    error = pthread_create(&thread_, &attributes, runBody, owned.get());
  }
  pthread_attr_destroy(&attributes);
  if (error != 0) return;
  owned.release();  // the thread owns it now
  joinable_ = true;
}

TMThread::TMThread(TMThread&& other) noexcept
    : thread_(other.thread_), joinable_(std::exchange(other.joinable_, false)) {}

TMThread& TMThread::operator=(TMThread&& other) noexcept {
  if (this != &other) {
    join();
    thread_ = other.thread_;
    joinable_ = std::exchange(other.joinable_, false);
  }
  return *this;
}

void TMThread::join() {
  if (!joinable_) return;
  pthread_join(thread_, nullptr);
  joinable_ = false;
}

}  // namespace tilemora
