// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSelectionActions.h"

#include <sys/stat.h>

#include <QClipboard>
#include <QFile>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStandardPaths>

#include "actions/TMFileManagerReveal.h"
#include "core/filetree/TMUtf8.h"
#include "core/platform/TMProgramStart.h"

namespace tilemora {

namespace {

QUrl qtUrlOf(const TMFileURL& item) { return QUrl::fromEncoded(fileUriOf(item)); }

}  // namespace

TMDesktopAccess TMDesktopAccess::system() {
  TMDesktopAccess desktop;
  desktop.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  desktop.startProgram = [](const QString& program, const TMFileURL& folder) {
    // The folder's own bytes: a name that is no valid text is entered too.
    return startProgramIn(QFile::encodeName(program).toStdString(), folder.path()) == 0;
  };
  desktop.setClipboard = [](QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); };
  desktop.environment = [](const char* name) { return qEnvironmentVariable(name); };
  desktop.findExecutable = [](const QString& name) { return QStandardPaths::findExecutable(name); };
  desktop.reveal = [](const TMFileURL& item) { revealInFileManager(item, item.deletingLastPathComponent()); };
  return desktop;
}

bool TMSelectionActions::startsAProgram(const TMFileURL& item) {
  // A launcher as the desktop tells one: by the MIME database, which knows
  // every spelling (App.DESKTOP, an old .kdelnk) and reads the file too.
  static const QMimeDatabase database;
  const QMimeType type = database.mimeTypeForFile(QFile::decodeName(QByteArray::fromStdString(item.path())));
  if (type.inherits(QStringLiteral("application/x-desktop"))) return true;
  struct stat info {};
  if (::lstat(item.path().c_str(), &info) != 0) return false;
  return S_ISREG(info.st_mode) && (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
}

bool TMSelectionActions::open(const TMFileURL& item) const {
  if (startsAProgram(item)) {
    desktop_.reveal(item);
    return false;
  }
  return desktop_.openUrl(qtUrlOf(item));
}

QString TMSelectionActions::openTerminal(const TMFileURL& item, bool isFolder) const {
  const TMFileURL folder = isFolder ? item : item.deletingLastPathComponent();
  QString program = desktop_.environment("TERMINAL");
  if (program.isEmpty()) program = desktop_.findExecutable(QStringLiteral("x-terminal-emulator"));
  if (program.isEmpty())
    return QObject::tr("No terminal was found: set the TERMINAL environment variable to one.");
  if (!desktop_.startProgram(program, folder))
    return QObject::tr("%1 could not be started.").arg(program);
  return {};
}

void TMSelectionActions::copyPath(const TMFileURL& item, const TMScanOrigins& origins) const {
  copyPaths({item}, origins);
}

void TMSelectionActions::copyPaths(const std::vector<TMFileURL>& items, const TMScanOrigins& origins) const {
  auto* data = new QMimeData;
  QStringList lines;
  QByteArray uris;
  bool onThisMachine = true;
  for (const TMFileURL& item : items) {
    const std::string path = origins.shownPath(item);
    // As a shell reads it back: a name that is no valid text survives too.
    lines << QString::fromStdString(shellQuoted(path));
    // The URL list carries the raw bytes, percent-encoded.
    uris += fileUriOf(item) + "\r\n";
    onThisMachine = onThisMachine && path == item.path();
  }
  data->setText(lines.join(u'\n'));
  if (onThisMachine) data->setData(QStringLiteral("text/uri-list"), uris);
  desktop_.setClipboard(data);
}

}  // namespace tilemora
