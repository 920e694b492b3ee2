#pragma once
// The folders opened before, most recent first, kept in the user's
// settings so that File ▸ Open Recent lists them in the next session too.

#include <QStringList>

namespace tilemora {

class TMRecentFolders {
 public:
  static constexpr int kKept = 10;

  static QStringList list();
  // Puts `path` first (once), keeping at most kKept folders.
  static void note(const QString& path);
  static void clear();
};

}  // namespace tilemora
