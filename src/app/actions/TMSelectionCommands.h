// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands on a selection beyond the map's own: Open Item, Open
// Terminal Here and Copy Path, in the Edit menu and in the menu of a tile
// or a row, which also holds the map's commands on a selection.

#include <QObject>
#include <memory>

class QAction;
class QMainWindow;
class QPoint;

namespace tilemora {

class TMMapCommands;
class TMMapPane;
class TMSelectionActions;
class TMSession;
struct TMDesktopAccess;

class TMSelectionCommands : public QObject {
  Q_OBJECT

 public:
  TMSelectionCommands(QMainWindow& window, TMSession& session, TMMapPane& pane, TMMapCommands& mapCommands);
  ~TMSelectionCommands() override;

  QAction& openItem() { return *openItem_; }
  QAction& openTerminal() { return *openTerminal_; }
  QAction& copyPath() { return *copyPath_; }
  // What the commands reach of the desktop (tests fake it).
  void setDesktopAccess(TMDesktopAccess desktop);

  // The menu of the selection, at `globalPosition`.
  void showMenu(const QPoint& globalPosition);
  // The selection or the flags changed: the commands follow.
  void update();

 private:
  QMainWindow& window_;
  TMSession& session_;
  TMMapPane& pane_;
  TMMapCommands& mapCommands_;
  std::unique_ptr<TMSelectionActions> actions_;
  QAction* openItem_;
  QAction* openTerminal_;
  QAction* copyPath_;
};

}  // namespace tilemora
