// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileManagerReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QUrl>

namespace tilemora {

namespace {

void openFolder(const TMFileURL& container, const std::function<void()>& failed) {
  if (!QDesktopServices::openUrl(QUrl::fromEncoded(fileUriOf(container))) && failed) failed();
}

}  // namespace

QByteArray fileUriOf(const TMFileURL& url) {
  return "file://" + QByteArray::fromStdString(url.path()).toPercentEncoding("/");
}

void revealInFileManager(const TMFileURL& item, const TMFileURL& container, std::function<void()> failed) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    openFolder(container, failed);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QString::fromLatin1(fileUriOf(item))} << QString();
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                   [container, failed = std::move(failed)](QDBusPendingCallWatcher* done) {
    if (done->isError()) openFolder(container, failed);
    done->deleteLater();
  });
}

}  // namespace tilemora
