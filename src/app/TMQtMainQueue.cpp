// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMQtMainQueue.h"

#include <QMetaObject>

namespace tilemora {

void TMQtMainQueue::post(std::function<void()> work) {
  QMetaObject::invokeMethod(context_, std::move(work), Qt::QueuedConnection);
}

}  // namespace tilemora
