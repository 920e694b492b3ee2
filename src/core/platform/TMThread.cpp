// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMThread.h"

#include <pthread.h>

#include <memory>

namespace tilemora {

namespace {

void* runBody(void* argument) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
  (*body)();
  return nullptr;
}

}  // namespace

bool startDetachedThread(std::function<void()> body, size_t stackBytes) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_attr_setstacksize(&attributes, stackBytes);
  pthread_t thread;
  int error = pthread_create(&thread, &attributes, runBody, owned.get());
  if (error != 0) {
    // A smaller stack may still be possible where address space is short.
    pthread_attr_setstacksize(&attributes, size_t(8) << 20);
    error = pthread_create(&thread, &attributes, runBody, owned.get());
  }
  pthread_attr_destroy(&attributes);
  if (error != 0) return false;
  owned.release();  // the thread owns it now
  return true;
}

}  // namespace tilemora
