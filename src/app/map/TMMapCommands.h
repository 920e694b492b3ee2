// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The map's commands, in the View and Edit menus and on the toolbar: zoom
// in and out, narrow, go up, select the first item, reveal, move to the
// trash, rescan, a volume's free space shown or not, and the size the map
// measures by. They act through
// the session's controller, and are enabled as its flags say.

#include <QObject>

#include "core/filetree/TMSizeMeasure.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

namespace tilemora {

class TMMapPane;
class TMSession;
class TMWindowDelegate;

class TMMapCommands : public QObject {
  Q_OBJECT

 public:
  // Adds the toolbar to `window`, whose keys reach the commands.
  TMMapCommands(QMainWindow& window, TMSession& session, TMMapPane& pane, TMWindowDelegate& delegate);

  QAction& zoomIn() { return *zoomIn_; }
  QAction& zoomOut() { return *zoomOut_; }
  QAction& narrow() { return *narrow_; }
  QAction& goUp() { return *goUp_; }
  QAction& selectFirstItem() { return *selectFirstItem_; }
  QAction& reveal() { return *reveal_; }
  QAction& moveToTrash() { return *moveToTrash_; }
  QAction& rescan() { return *rescan_; }
  QAction& showFreeSpace() { return *showFreeSpace_; }
  QAction& followChanges() { return *followChanges_; }
  // View ▸ Size: On Disk, Apparent.
  void addSizeMenuTo(QMenu& view);
  // Whether the map follows the changes on disk.
  void setFollowsChanges(bool follows);
  QActionGroup& sizeMeasures() { return *sizeMeasure_; }

  // The controller's flags changed: the commands follow.
  void flagsChanged();
  // Shows or hides a volume's free and unscanned space.
  void setShowsFreeSpace(bool shown);
  // Measures the map by `measure` (the menu follows).
  void setSizeMeasure(TMSizeMeasure measure);

 private:
  TMSession& session_;
  TMMapPane& pane_;
  QAction* zoomIn_;
  QAction* zoomOut_;
  QAction* narrow_;
  QAction* goUp_;
  QAction* selectFirstItem_;
  QAction* reveal_;
  QAction* moveToTrash_;
  QAction* rescan_;
  QAction* showFreeSpace_;
  QAction* followChanges_ = nullptr;
  QActionGroup* sizeMeasure_;
};

}  // namespace tilemora
