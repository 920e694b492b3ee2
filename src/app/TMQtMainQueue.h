// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main queue on Qt's event loop: closures posted from any thread run on
// the thread of `context` (the GUI thread), in posting order.

#include <QObject>

#include "core/platform/TMMainQueue.h"

namespace tilemora {

class TMQtMainQueue : public TMMainQueue {
 public:
  explicit TMQtMainQueue(QObject* context) : context_(context) {}
  void post(std::function<void()> work) override;

 private:
  QObject* context_;  // lives as long as the application
};

}  // namespace tilemora
