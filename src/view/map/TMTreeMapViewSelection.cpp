// SPDX-License-Identifier: GPL-3.0-or-later
// Several items selected at once in the tree map view: the main one is the
// view's selection as ever (the path bar, the keys, narrowing follow it);
// the others are drawn selected beside it until the selection changes.

#include <algorithm>

#include "view/map/TMTreeMapView.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMFileTreePath.h"

namespace tilemora {

void TMTreeMapView::setAlsoSelected(std::vector<TMSelectedItem> items) {
  alsoSelected_ = std::move(items);
  alsoSelectedFiles_.clear();
  for (const TMSelectedItem& item : alsoSelected_) alsoSelectedFiles_.insert(item.file);
}

std::vector<TMTreeMapView::TMSelectedItem> TMTreeMapView::selectedItems() const {
  std::vector<TMSelectedItem> items;
  if (selected_ && selected_->file != nullptr) items.push_back({selected_->url, selected_->file});
  items.insert(items.end(), alsoSelected_.begin(), alsoSelected_.end());
  return items;
}

void TMTreeMapView::toggleAtPoint(const TMPoint& viewPoint) {
  if (!current_ || lockAnyMouseEvent_) return;
  TMLayoutNode* found = nullptr;
  const TMDrawInfo_t info = searchWithFunction(pointSearch(current_->layout, virtualPointOf(viewPoint)), current_->url, &found);
  // Free and unscanned space are no items: they are selected alone.
  if (found == nullptr || found->fileNode() == nullptr) return;
  std::vector<TMSelectedItem> kept = selectedItems();
  const TMFileURL url = info.selection.url;
  const auto in = std::find_if(kept.begin(), kept.end(), [&](const TMSelectedItem& item) { return item.url == url; });
  if (in == kept.end()) {
    // Joins as the main item: the keys and the path bar go on from it.
    selectAtPoint(virtualPointOf(viewPoint));
    setAlsoSelected(std::move(kept));
  } else {
    kept.erase(in);
    if (kept.empty()) {
      clearSelection();
      return;
    }
    // The main item stays; when it is the one taken out, the one chosen
    // before it takes its place.
    const TMSelectedItem main = kept.front();
    kept.erase(kept.begin());
    selectURL(main.url);
    setAlsoSelected(std::move(kept));
  }
  regatherAndRepaint();
  notify();
}

void TMTreeMapView::selectItems(const std::vector<TMFileURL>& urls) {
  if (!root_ || urls.empty()) return;
  selectURL(urls.front());
  TMFileTree* rootFile = root_->layout->fileNode();
  const size_t rootIndex = root_->url.pathComponents().size() - 1;
  std::vector<TMSelectedItem> others;
  for (size_t i = 1; rootFile != nullptr && i < urls.size(); ++i) {
    const std::vector<std::string> parts = urls[i].pathComponents();
    if (parts.size() <= rootIndex || urls[i] == urls.front()) continue;
    if (TMFileTree* file = TMFileTreePath::resolve(*rootFile, parts, rootIndex).target()) others.push_back({urls[i], file});
  }
  setAlsoSelected(std::move(others));
  regatherAndRepaint();
  notify();
}

void TMTreeMapView::clearSelection() {
  if (!selected_ && alsoSelected_.empty()) return;
  showUnselected();
  regatherAndRepaint();
  notify();
}

}  // namespace tilemora
