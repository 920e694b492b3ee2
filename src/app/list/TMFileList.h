// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list beside the map: the file tree as a sortable tree of rows, the
// largest files below the shown folder, flat, or the largest changes since
// a saved scan the map is compared with. It tells what the user
// chooses in it; the window keeps it and the map in step.

#include <QTreeView>

#include <memory>
#include <vector>

#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMChangesModel;
class TMFileListModel;
class TMFileTree;
class TMLargestFilesModel;

class TMFileList : public QTreeView {
  Q_OBJECT

 public:
  explicit TMFileList(QWidget* parent = nullptr);

  TMFileListModel& treeModel() { return *treeModel_; }
  TMLargestFilesModel& largestModel() { return *largestModel_; }
  TMChangesModel& changesModel() { return *changesModel_; }

  enum class Mode { kTree, kLargestFiles, kChanges };
  void setMode(Mode mode);
  Mode mode() const { return mode_; }
  // The tree of rows (false) or the largest files below the shown folder.
  void setShowsLargestFiles(bool shown) { setMode(shown ? Mode::kLargestFiles : Mode::kTree); }
  bool showsLargestFiles() const { return mode_ == Mode::kLargestFiles; }
  // The largest files below `folder` at `url`, of `tree`.
  void setLargestFilesFolder(std::shared_ptr<TMFileTree> tree, const TMFileTree* folder, const TMFileURL& url);

  // The map selected `url`: its row becomes current, its folders expanded,
  // scrolled into view; nothing is told back.
  void followSelection(const TMFileURL& url);
  // The map shows the folder at `url` and nothing is selected: no row is
  // current or highlighted, and the folder's row, or the top, is scrolled
  // into view.
  void followShownFolder(const TMFileURL& url);

  // The path of the item of a row.
  TMFileURL urlOf(const QModelIndex& index) const;
  // The folders open in the tree list, and where it is scrolled to, so that
  // rows listed again (the tree changed on disk) open where they were.
  struct TMOpenRows {
    std::vector<TMFileURL> folders;
    int scrolled = 0;
  };
  TMOpenRows openRows() const;
  void reopenRows(const TMOpenRows& rows);
  // The row of the item at `url` in the shown mode; invalid when none.
  QModelIndex indexOf(const TMFileURL& url);

  // The column widths and order, and the sort, as kept in the settings.
  QByteArray headerState() const;
  void restoreHeaderState(const QByteArray& state);

 signals:
  // The user made the row of `url` current.
  void chosen(const TMFileURL& url);
  // Several rows were chosen (the current one first).
  void chosenSeveral(const std::vector<TMFileURL>& urls);
  // Esc let go of the rows chosen.
  void selectionCleared();
  // The user double-clicked the row of the folder at `url`.
  void opened(const TMFileURL& url);
  // A menu is wanted for the row of `url` at `globalPosition`.
  void menuWanted(const TMFileURL& url, const QPoint& globalPosition);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Taking the focus makes a row current without choosing it.
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void makeCurrent(const QModelIndex& index);
  // Every column wide enough for its longest text, but the names'.
  void fitColumns();

  TMFileListModel* treeModel_;
  TMLargestFilesModel* largestModel_;
  TMChangesModel* changesModel_;
  QByteArray treeHeaderState_;
  Mode mode_ = Mode::kTree;
  bool following_ = false;  // the current row follows the map: nothing to tell
};

}  // namespace tilemora
