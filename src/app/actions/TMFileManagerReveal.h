// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows a file selected in the desktop's file manager through its D-Bus
// interface (org.freedesktop.FileManager1.ShowItems); when no file manager
// answers, opens the folder that holds it instead. Never waits for either.
// When neither can be done, `failed` runs (later, from the event loop).

#include <QByteArray>
#include <functional>

#include "core/platform/TMFileURL.h"

namespace tilemora {

void revealInFileManager(const TMFileURL& item, const TMFileURL& container,
                         std::function<void()> failed = {});

// "file://" and the path's raw bytes, percent-encoded: names that are not
// UTF-8 reach the file manager unchanged.
QByteArray fileUriOf(const TMFileURL& url);

}  // namespace tilemora
