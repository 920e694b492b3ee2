// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the selection menus do beyond the map's own commands: open an item
// with the desktop's default application, open a terminal where it is, and
// copy its path. What they reach of the desktop goes through
// TMDesktopAccess, which tests replace.

#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

#include "core/platform/TMFileURL.h"
#include "import/TMScanOrigins.h"

class QMimeData;

namespace tilemora {

struct TMDesktopAccess {
  std::function<bool(const QUrl& url)> openUrl;
  // Starts `program` in `folder`, not waiting for it; false when it cannot.
  std::function<bool(const QString& program, const TMFileURL& folder)> startProgram;
  // Takes the data for the clipboard (and its ownership).
  std::function<void(QMimeData* data)> setClipboard;
  std::function<QString(const char* name)> environment;
  std::function<QString(const QString& name)> findExecutable;
  // Shows the item in the file manager.
  std::function<void(const TMFileURL& item)> reveal;

  // The desktop itself.
  static TMDesktopAccess system();
};

class TMSelectionActions {
 public:
  explicit TMSelectionActions(TMDesktopAccess desktop) : desktop_(std::move(desktop)) {}

  // Opens `item` with the desktop's default application; a file that could
  // start a program (executable, or a .desktop launcher) is revealed in the
  // file manager instead: a scanned folder may hold anything. Answers
  // whether it was opened rather than revealed.
  bool open(const TMFileURL& item) const;
  // Opens a terminal in `item`, a folder, or in the folder of `item`, a
  // file: $TERMINAL when set, else x-terminal-emulator. Answers why it
  // could not, or an empty text.
  QString openTerminal(const TMFileURL& item, bool isFolder) const;
  // Copies the path, as text quoted for a shell when need be, and as a file
  // URL list that keeps its raw bytes. Below saved scans shown side by side,
  // the path on the machine scanned ("vm:/srv/t2/a"), as text only: no file
  // of this machine has it.
  void copyPath(const TMFileURL& item, const TMScanOrigins& origins = {}) const;
  // The same for several items, one path a line (and one URL each, where
  // all are on this machine).
  void copyPaths(const std::vector<TMFileURL>& items, const TMScanOrigins& origins = {}) const;

  // Whether opening `item` would start a program.
  static bool startsAProgram(const TMFileURL& item);

 private:
  TMDesktopAccess desktop_;
};

}  // namespace tilemora
