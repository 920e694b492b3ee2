// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list beside the map, kept in step with it: the shown tree as rows,
// the largest files of the shown folder, or the largest changes since the
// saved scan compared with (View ▸ Show List, Largest Files, Changes); a
// row chosen selects its tile, a tile selected shows its row. Its place
// and columns are kept in the settings.

#include <QObject>
#include <memory>
#include <optional>
#include <utility>

#include "core/platform/TMFileURL.h"
#include "view/session/TMSessionObserver.h"

class QAction;
class QMainWindow;
class QSplitter;
class QWidget;

namespace tilemora {

class TMFileList;
class TMMapPane;
class TMSelectionCommands;
class TMSession;

class TMListFeature : public QObject, private TMSessionObserver {
  Q_OBJECT

 public:
  // The list beside `mapColumn`, in a splitter placed in `window`; its
  // menus are those of `selection`.
  TMListFeature(QMainWindow& window, TMSession& session, TMMapPane& pane, QWidget& mapColumn,
                TMSelectionCommands& selection);
  ~TMListFeature() override;

  TMFileList& list() { return *list_; }
  QWidget& splitter();
  QAction& showList() { return *showList_; }
  QAction& largestFiles() { return *largestFiles_; }
  QAction& showChanges() { return *showChanges_; }

  // The map is shown (else a message is): the list is shown beside it, as
  // View ▸ Show List says.
  void setMapShown(bool shown);
  // A volume's free and unscanned space listed, or not.
  void setShowsSpace(bool shown);
  // Keeps the place and the columns in the settings.
  void saveSettings() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // TMSessionObserver
  void treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void mapStateChanged() override;
  void itemDeleted(const TMFileTree& node) override;
  void treeRemeasured(const std::shared_ptr<TMFileTree>& tree) override;
  void treeChanged(const std::shared_ptr<TMFileTree>& tree) override;
  void comparisonChanged() override;

  void setListShown(bool shown);
  // The list's mode, as Largest Files and Changes say.
  void applyMode();
  // The largest files of the shown folder, when the list shows them.
  void updateLargestFiles();

  TMSession& session_;
  TMMapPane& pane_;
  QSplitter* splitter_;
  bool splitPlaced_ = false;  // the list has its share of the width, or the one the user left
  TMFileList* list_;
  QAction* showList_;
  QAction* largestFiles_;
  QAction* showChanges_;
  bool mapShown_ = false;
  const TMFileTree* listed_ = nullptr;  // the tree listed, while its scan runs or not
  bool scanning_ = false;
  std::optional<TMFileURL> largestFilesFolder_;  // where the largest files were found
  // Where they were last looked for in a saved scan's file, and in which opening.
  std::optional<std::pair<uint64_t, TMFileURL>> largestSearchedInFile_;
};

}  // namespace tilemora
