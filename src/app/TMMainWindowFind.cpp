// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's find: the bar over the map, searches off the main
// thread (a newer one makes an older one give up, and only the newest is
// shown), the matches picked out on the map, and Enter, F3 and Shift+F3
// going from one to the next, largest first.

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QVBoxLayout>
#include <ctime>
#include <thread>

#include "TMFindBar.h"
#include "TMMainWindow.h"
#include "TMMapPane.h"
#include "TMTreeMapWidget.h"
#include "core/drawing/TMAgeColoring.h"
#include "core/drawing/TMChangeColoring.h"
#include "core/drawing/TMHighlightColoring.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/filetree/TMVolume.h"
#include "core/scan/TMScanTask.h"

namespace tilemora {

QWidget* TMMainWindow::buildFindBar(QWidget* mapPages) {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  findBar_ = new TMFindBar;
  layout->addWidget(findBar_);
  layout->addWidget(mapPages, 1);
  find_ = new QAction(QIcon::fromTheme(QStringLiteral("edit-find")), tr("&Find\u2026"), this);
  find_->setShortcut(QKeySequence::Find);
  connect(find_, &QAction::triggered, this, [this] { findBar_->open(); });
  addAction(find_);
  connect(findBar_, &TMFindBar::patternChanged, this, [this] { startSearch(); });
  connect(findBar_, &TMFindBar::nextWanted, this, [this] { selectMatch(+1); });
  connect(findBar_, &TMFindBar::previousWanted, this, [this] { selectMatch(-1); });
  connect(findBar_, &TMFindBar::closed, this, [this] { endSearch(); });
  return column;
}

void TMMainWindow::startSearch() {
  const uint64_t search = ++*searches_;
  std::function<bool(std::string_view)> matcher = findBar_->matcher();
  std::shared_ptr<TMFileTree> tree = controller_->curentlyNavigated();
  if (!matcher || !tree || controller_->isScanning()) {
    searchResult_.reset();
    matchShown_ = -1;
    applyFileColoring();
    return;
  }
  const TMFileTree* start = tree->asVolume() ? tree->asVolume()->child() : tree.get();
  if (start == nullptr) return;
  QPointer<TMMainWindow> window(this);
  std::shared_ptr<std::atomic<uint64_t>> searches = searches_;
  std::shared_ptr<std::atomic<int>> running = searchesRunning_;
  running->fetch_add(1);
  auto work = [window, searches, running, search, matcher = std::move(matcher), tree, start] {
    auto result = std::make_shared<TMSearchResult>(
        searchTree(*start, matcher, [&] { return searches->load(std::memory_order_relaxed) == search; }));
    running->fetch_sub(1);  // the tree is not read any more
    if (result->abandoned) return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [window, searches, search, result] {
      // A newer search was asked for meanwhile: it will show its own.
      if (window && searches->load() == search) window->showSearchResult(result);
    }, Qt::QueuedConnection);
  };
  if (!TMScanTask::startFinishingWork(work)) work();
}

void TMMainWindow::showSearchResult(std::shared_ptr<const TMSearchResult> result) {
  searchResult_ = std::move(result);
  matchShown_ = -1;
  findBar_->showFound(qsizetype(searchResult_->matches.size()), searchResult_->bytes);
  applyFileColoring();
}

void TMMainWindow::selectMatch(int step) {
  if (!searchResult_ || searchResult_->matches.empty() || !controller_->scannedUrl()) return;
  const int count = int(searchResult_->matches.size());
  matchShown_ = matchShown_ < 0 ? (step > 0 ? 0 : count - 1) : (matchShown_ + step + count) % count;
  TMFileURL url = *controller_->scannedUrl();
  const std::string& path = searchResult_->matches[size_t(matchShown_)].path;
  for (size_t start = 0; start <= path.size();) {
    const size_t slash = std::min(path.find('/', start), path.size());
    url.append(std::string_view(path).substr(start, slash - start));
    start = slash + 1;
  }
  mapPane_->view().selectURL(url);
}

void TMMainWindow::willChangeTree() {
  // A search gives up within a few thousand entries: a moment at most; a
  // comparison or a save ends within a second or two.
  ++*searches_;
  while (searchesRunning_->load() > 0) std::this_thread::yield();
}

void TMMainWindow::endSearch() {
  ++*searches_;  // any search still running gives up
  searchResult_.reset();
  matchShown_ = -1;
  applyFileColoring();
  mapPane_->map().setFocus();
}

void TMMainWindow::applyFileColoring() {
  std::shared_ptr<const TMFileColoring> coloring;
  if (colourMode_ == TMColourMode::kFileType) {
    if (!typeColoring_) typeColoring_ = std::make_shared<TMTypeColoring>();
    coloring = typeColoring_;
  } else if (colourMode_ == TMColourMode::kChanges) {
    coloring = changeColoring_;
  } else if (colourMode_ == TMColourMode::kAge) {
    ageColoring_ = std::make_shared<TMAgeColoring>(int64_t(std::time(nullptr)));  // ages as of now
    coloring = ageColoring_;
  }
  if (searchResult_) {
    // The covered files, shared with the result that holds them.
    std::shared_ptr<const TMHighlightColoring::Files> picked(searchResult_, &searchResult_->coveredFiles);
    coloring = std::make_shared<TMHighlightColoring>(coloring, std::move(picked));
  } else if (typePicked_) {
    coloring = std::make_shared<TMHighlightColoring>(coloring, typePicked_);
  }
  mapPane_->view().setFileColoring(std::move(coloring));
}

}  // namespace tilemora
