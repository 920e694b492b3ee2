// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folders opened before, most recent first, kept in the user's
// settings so that File ▸ Open Recent lists them in the next session too.

#include <QByteArray>
#include <QList>

namespace tilemora {

class TMRecentFolders {
 public:
  static constexpr int kKept = 10;

  // The paths as raw bytes: names need not be UTF-8.
  static QList<QByteArray> list();
  // Puts `path` first (once), keeping at most kKept folders.
  static void note(const QByteArray& path);
  static void clear();
};

}  // namespace tilemora
