// SPDX-License-Identifier: GPL-3.0-or-later
// Changes found on disk after the scan, in the tree map view: the layout
// refreshed in place, the states kept where their items still are, one
// redraw.

#include <algorithm>
#include <utility>

#include "view/map/TMTreeMapView.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutNode.h"

namespace tilemora {

TMLayoutNode* TMTreeMapView::laidOutAt(const TMFileURL& url) {
  if (!root_ || !url.isAtOrBelow(root_->url)) return nullptr;
  if (url == root_->url) return root_->layout.get();
  const int32_t rootIndex = int32_t(root_->url.pathComponents().size()) - 1;
  TMLayoutNode* found = nullptr;
  const TMDrawInfo_t info =
      searchWithFunction(pathSearch(root_->layout, url.pathComponents(), rootIndex), root_->url, &found);
  return found != nullptr && info.selection.url == url ? found : nullptr;
}

bool TMTreeMapView::showChangedTree(const std::unordered_set<const TMFileTree*>& changed, const std::unordered_set<const TMFileTree*>& regrouped) {
  if (!root_ || !handedOver_) return false;
  if (!TMLayoutNode::refreshInPlace(*handedOver_, changed, regrouped, blockSizes.finalLayoutDepth)) return false;
  wheel_.areaTallies().forget();  // what the folders hold has changed

  // The folder shown, or the nearest one above it that is still there.
  if (current_ != root_) {
    TMFileURL shown = current_->url;
    TMLayoutNode* layout = laidOutAt(shown);
    while (layout == nullptr && shown != root_->url) {
      shown = shown.deletingLastPathComponent();
      layout = laidOutAt(shown);
    }
    if (shown == root_->url) {
      current_ = root_;
      current_->size = frame();  // it may hold a zoom from before a narrowing
    } else if (shown != current_->url) {
      auto state = std::make_shared<TMNodeState>();
      state->url = shown;
      state->file = layout->fileNode();
      state->layout = std::shared_ptr<TMLayoutNode>(root_->layout, layout);
      state->size = frame();
      current_ = std::move(state);
    } else if (layout != current_->layout.get()) {
      // The same folder laid out anew: the zoom stays.
      current_->file = layout->fileNode();
      current_->layout = std::shared_ptr<TMLayoutNode>(root_->layout, layout);
    }
  }

  // The selection, found again (its rectangle moved), or none.
  const std::vector<TMSelectedItem> beside = alsoSelected_;
  const std::shared_ptr<TMNodeState> was = std::exchange(selected_, nullptr);
  if (was && was->file != nullptr && laidOutAt(was->url) != nullptr && was->url.isAtOrBelow(current_->url) &&
      selectIfSeen(was->url, true)) {
    std::vector<TMSelectedItem> kept;
    for (const TMSelectedItem& item : beside) {
      if (TMLayoutNode* still = laidOutAt(item.url); still != nullptr && still->fileNode() == item.file)
        kept.push_back(item);
    }
    setAlsoSelected(std::move(kept));
  } else if (was) {
    showUnselected();
  }
  updateScrollerPosition();
  regatherAndRepaint();
  notify();
  return true;
}

}  // namespace tilemora
