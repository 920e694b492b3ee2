// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMEnoughStack.h"

#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tilemora {

namespace {

// A helper's stack: address space reserved, pages committed as used.
constexpr size_t kHelperStackBytes = size_t(64) << 20;
// Kept free below the deepest check: one folder level of a walk (its split
// nodes included) and whatever a leaf calls into, text measuring with it.
constexpr size_t kReserveBytes = size_t(128) << 10;

// Past this address the calling thread's stack is running low; 0 until
// measured, UINTPTR_MAX when it cannot be (never low then).
thread_local uintptr_t lowWaterMark = 0;

uintptr_t measureLowWaterMark() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return 0;
  void* lowest = nullptr;
  size_t size = 0;
  int error = pthread_attr_getstack(&attributes, &lowest, &size);
  pthread_attr_destroy(&attributes);
  if (error != 0 || size == 0) return 0;
  // A small stack keeps a quarter of itself in reserve.
  return uintptr_t(lowest) + std::min(kReserveBytes, size / 4);
}

struct HelperCall {
  const std::function<void()>* body;
  std::exception_ptr failure;
};

void* runHelper(void* argument) {
  auto* call = static_cast<HelperCall*>(argument);
  try {
    (*call->body)();
  } catch (...) {
    call->failure = std::current_exception();
  }
  return nullptr;
}

}  // namespace

bool stackIsRunningLow() {
  if (lowWaterMark == 0) {
    lowWaterMark = measureLowWaterMark();
    if (lowWaterMark == 0) lowWaterMark = UINTPTR_MAX;
  }
  // The frame address, not a local's: sanitizers may move locals elsewhere.
  return lowWaterMark != UINTPTR_MAX && uintptr_t(__builtin_frame_address(0)) < lowWaterMark;
}

void runOnFreshStack(const std::function<void()>& body) {
  HelperCall call{&body, nullptr};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kHelperStackBytes);
  pthread_t thread;
  int error = pthread_create(&thread, &attributes, runHelper, &call);
  pthread_attr_destroy(&attributes);
  // No thread to be had: going on in place is the only way left.
  if (error != 0) {
    body();
    return;
  }
  pthread_join(thread, nullptr);
  if (call.failure) std::rethrow_exception(call.failure);
}

}  // namespace tilemora
