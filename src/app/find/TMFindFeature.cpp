// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFindFeature.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QVBoxLayout>

#include "find/TMFindBar.h"
#include "map/TMMapPane.h"
#include "map/TMTreeMapWidget.h"
#include "view/session/TMSession.h"

namespace tilemora {

TMFindFeature::TMFindFeature(QMainWindow& window, TMSession& session, TMMapPane& pane, QWidget& mapPages)
    : QObject(&window), session_(session), pane_(pane) {
  column_ = new QWidget;
  auto* layout = new QVBoxLayout(column_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(&mapPages, 1);
  // The bar floats over the top of the map: opening or closing it moves no
  // tile.
  bar_ = new TMFindBar(column_);
  column_->installEventFilter(this);
  find_ = new QAction(QIcon::fromTheme(QStringLiteral("edit-find")), tr("&Find\u2026"), &window);
  find_->setShortcut(QKeySequence::Find);
  connect(find_, &QAction::triggered, this, [this] {
    placeBar();
    bar_->open();
  });
  window.addAction(find_);
  connect(bar_, &TMFindBar::patternChanged, this, [this] { search(); });
  connect(bar_, &TMFindBar::nextWanted, this, [this] { selectMatch(+1); });
  connect(bar_, &TMFindBar::previousWanted, this, [this] { selectMatch(-1); });
  connect(bar_, &TMFindBar::closed, this, [this] { end(); });
  session.addObserver(*this);
}

TMFindFeature::~TMFindFeature() { session_.removeObserver(*this); }

bool TMFindFeature::eventFilter(QObject* watched, QEvent* event) {
  if (watched == column_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest ||
                             event->type() == QEvent::Show))
    placeBar();
  return QObject::eventFilter(watched, event);
}

void TMFindFeature::placeBar() {
  bar_->setGeometry(0, 0, column_->width(), bar_->sizeHint().height());
  bar_->raise();
}

void TMFindFeature::search() {
  matchShown_ = -1;
  session_.startSearch(bar_->matcher());
}

void TMFindFeature::end() {
  matchShown_ = -1;
  session_.endSearch();
  pane_.map().setFocus();
}

void TMFindFeature::treeShown(const std::shared_ptr<TMFileTree>&, const TMFileURL&, bool scanning) {
  // A new tree: the pattern is looked for again once it is whole.
  if (!scanning && bar_->isVisible()) search();
}

void TMFindFeature::searchAgain() {
  matchShown_ = -1;
  session_.searchAgain();
}

void TMFindFeature::itemDeleted(const TMFileTree&) {
  // What went is no match any more.
  searchAgain();
}

void TMFindFeature::treeRemeasured(const std::shared_ptr<TMFileTree>&) {
  // The matches' total is told by the new sizes.
  searchAgain();
}

void TMFindFeature::treeChanged(const std::shared_ptr<TMFileTree>&) {
  // New files may match (folders of a saved scan read since), and matches may have gone.
  searchAgain();
}

void TMFindFeature::searchChanged() {
  matchShown_ = -1;
  if (const auto& result = session_.searchResult())
    bar_->showFound(qsizetype(result->matches.size()), result->bytes, session_.matchesInFile());
}

void TMFindFeature::selectMatch(int step) {
  const auto& result = session_.searchResult();
  const auto& scanned = session_.controller().scannedUrl();
  if (!result || result->matches.empty() || !scanned) return;
  const int count = int(result->matches.size());
  matchShown_ = matchShown_ < 0 ? (step > 0 ? 0 : count - 1) : (matchShown_ + step + count) % count;
  TMFileURL url = *scanned;
  const std::string& path = result->matches[size_t(matchShown_)].path;
  for (size_t start = 0; start <= path.size();) {
    const size_t slash = std::min(path.find('/', start), path.size());
    url.append(std::string_view(path).substr(start, slash - start));
    start = slash + 1;
  }
  pane_.view().selectURL(url);
}

}  // namespace tilemora
