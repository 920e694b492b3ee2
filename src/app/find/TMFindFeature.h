// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Find (Ctrl+F): the bar over the map, whose pattern the session searches
// the shown tree for; the matches are picked out on the map, the bar says
// how many, and Enter, F3 and Shift+F3 go from one to the next, largest
// first. A new tree or a deletion searches again.

#include <QObject>

#include "view/session/TMSessionObserver.h"

class QAction;
class QMainWindow;
class QWidget;

namespace tilemora {

class TMFindBar;
class TMMapPane;
class TMSession;

class TMFindFeature : public QObject, private TMSessionObserver {
  Q_OBJECT

 public:
  // The bar over `mapPages`, in the column answered by column().
  TMFindFeature(QMainWindow& window, TMSession& session, TMMapPane& pane, QWidget& mapPages);
  ~TMFindFeature() override;

  TMFindBar& bar() { return *bar_; }
  QAction& find() { return *find_; }
  // The bar above the map pages.
  QWidget& column() { return *column_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Over the top of the map, across its width.
  void placeBar();
  // TMSessionObserver
  void treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void itemDeleted(const TMFileTree& node) override;
  void treeRemeasured(const std::shared_ptr<TMFileTree>& tree) override;
  void treeChanged(const std::shared_ptr<TMFileTree>& tree) override;
  void searchChanged() override;

  void search();
  // The same pattern in the tree as it changed.
  void searchAgain();
  void end();
  void selectMatch(int step);

  TMSession& session_;
  TMMapPane& pane_;
  QWidget* column_;
  TMFindBar* bar_;
  QAction* find_;
  int matchShown_ = -1;  // the match Enter selected last
};

}  // namespace tilemora
