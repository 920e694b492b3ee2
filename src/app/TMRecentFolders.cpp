#include "TMRecentFolders.h"

#include <QSettings>

namespace tilemora {

namespace {
constexpr const char* kKey = "recentFolders";
}

QStringList TMRecentFolders::list() { return QSettings().value(kKey).toStringList(); }

void TMRecentFolders::note(const QString& path) {
  QStringList folders = list();
  folders.removeAll(path);
  folders.prepend(path);
  while (folders.size() > kKept) folders.removeLast();
  QSettings().setValue(kKey, folders);
}

void TMRecentFolders::clear() { QSettings().remove(kKey); }

}  // namespace tilemora
