// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMRecentFolders.h"

#include <QFile>
#include <QSettings>
#include <QVariant>

namespace tilemora {

namespace {
constexpr const char* kKey = "recentFolders";
}

QList<QByteArray> TMRecentFolders::list() {
  QList<QByteArray> folders;
  for (const QVariant& folder : QSettings().value(kKey).toList()) {
    // Kept as text by earlier versions.
    folders << (folder.typeId() == QMetaType::QByteArray ? folder.toByteArray()
                                                         : QFile::encodeName(folder.toString()));
  }
  return folders;
}

void TMRecentFolders::note(const QByteArray& path) {
  QList<QByteArray> folders = list();
  folders.removeAll(path);
  folders.prepend(path);
  while (folders.size() > kKept) folders.removeLast();
  QVariantList stored;
  for (const QByteArray& folder : folders) stored << folder;
  QSettings().setValue(kKey, stored);
}

void TMRecentFolders::clear() { QSettings().remove(kKey); }

}  // namespace tilemora
