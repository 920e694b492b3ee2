// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The logic of the main view of a scan window, behind the toolkit's host:
//   - core (TMTreeMapView.cpp): the three view states (the whole tree, the
//     part shown, the selection), the hand-over of layout trees, gathering
//     one frame per change (the toolkit replays it on every paint);
//   - zoom and scroll (TMTreeMapViewZoom.cpp): the visible rectangle, its
//     animations, the wheel, the magnify gesture, the scroll bars;
//   - selection and navigation (TMTreeMapViewNavigation.cpp): searches,
//     clicks, arrow keys, dragging, narrowing, going up, the path bar,
//     reveal, and the state queries the window's toolbar follows.
//
// The virtual canvas is the view's frame {0, 0, width, height}, y up. Input
// comes in as plain calls: points in view coordinates with y up (the
// toolkit flips its own), deltas, keys, scroll bar parts.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "view/map/AnimationPerFrame.h"
#include "view/map/TMNodeState.h"
#include "view/map/TMTreeMapViewHost.h"
#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"

namespace tilemora {

class TMLayoutFolder;

enum class TMArrowKey { kUp, kDown, kLeft, kRight };

// A search closure: runs a layout search with the record and the canvas.
using TMSearchFunction = std::function<TMLayoutNode*(TMDrawInfo_t& info, const TMRect& bounds)>;

// What lies under a point of the map, for its tooltip.
struct TMNodeDescription {
  TMFileURL url;
  uint64_t size = 0;
  bool isSpace = false;  // the free or the unscanned space: no file of its own
  int readError = 0;     // a folder that could not be read: why (an errno)
  bool cutShort = false;  // a folder a stopped scan had not listed whole
  bool holdsUnreadable = false;  // a folder with one below it that could not be read
  const TMFileTree* node = nullptr;  // the item of the tree (none for the spaces)
};

class TMTreeMapView {
 public:
  // The animations: a focus (narrowing, going up) and a zoom.
  enum AnimationKind : int32_t { kFocusAnimation = 0, kZoomAnimation = 1 };
  static constexpr double kFocusDuration = 0.25;
  static constexpr double kZoomDuration = double(0.1f);
  // Stretch per unit of vertical wheel scroll while zooming with the wheel.
  static constexpr double kWheelZoomPerUnit = double(-0.02f);

  // initWithFrame: — no tree and no gatherer yet.
  TMTreeMapView(TMTreeMapViewHost& host, std::shared_ptr<const TMTextMeasuring> measurer,
                double width, double height);
  ~TMTreeMapView();

  // --- core ---------------------------------------------------------------
  // setTreeMap:atUrl: — shows `tree` (the layout of the folder or volume at
  // `url`) whole, unzoomed, without selection; no tree clears the states.
  void setTreeMap(std::shared_ptr<TMLayoutNode> tree, const TMFileURL& url);
  // Whether a volume's free and unscanned space are shown beside its
  // folder; without them the folder fills the map. A change shows the tree
  // again, whole and unzoomed.
  void setShowsSpace(bool shown);
  bool showsSpace() const { return showsSpace_; }
  // Colours files by `coloring` (their type, their age), or by depth as
  // everything else when null; redraws.
  void setFileColoring(std::shared_ptr<const TMFileColoring> coloring);
  const TMFileColoring* fileColoring() const { return fileColoring_.get(); }
  // A new gatherer sized for the frame.
  void updateGeometrySize();
  // Gathers the frame of the current state.
  void updateGeometry();
  // Gathers the frame again and repaints it: how sizes are written changed.
  void redraw() { regatherAndRepaint(); }
  // Stores `responder`, called after every change of state, and calls it
  // once at once.
  void setStateChangeResponder(std::function<void()> responder);

  // What painting needs: the last gathered frame (null before the first),
  // and whether frames and texts are drawn over its fills.
  const TMGeometryGatherer* geometry() const { return geometry_.get(); }
  bool paintsFramesAndTexts() const;

  TMRect frame() const { return {0, 0, width_, height_}; }
  const TMNodeState* root() const { return root_.get(); }
  const TMNodeState* current() const { return current_.get(); }
  const TMNodeState* selected() const { return selected_.get(); }
  // The selection itself, to tell later whether it is still the same.
  std::shared_ptr<const TMNodeState> selectedState() const { return selected_; }
  bool isLocked() const { return lockAnyMouseEvent_; }
  // Whether the mouse moved the map since its button went down.
  bool isDragging() const { return dragged_; }

  // --- zoom and scroll ----------------------------------------------------
  // setFrameSize: — the view was resized; the zoom factor is kept.
  void setFrameSize(double width, double height);
  // Moves the visible rectangle, kept inside the canvas.
  void translateBy(double dx, double dy);
  // Scales the visible rectangle by (1 + sx, 1 + sy) about its centre,
  // capped at the canvas and kept inside it.
  void stretchBy(double sx, double sy);
  // The wheel's deltas (positive y scrolls up, positive x left); with the
  // zoom modifier the vertical delta zooms instead.
  void scrollWheel(double deltaX, double deltaY, bool zoomModifier);
  // magnifyWithEvent: — a pinch; a positive magnification zooms in.
  void magnifyWithEvent(double magnification);
  // Animated zoom one step in (+1) or out (-1) about the centre, onto the
  // whole steps of kZoomStepFactor: n steps in and n out come back exactly.
  // A step in past the maximum does nothing.
  void zoomStep(int direction);
  // The most the canvas is shown enlarged: until the whole view would be
  // less than one smallest drawable tile of the unzoomed map, and never past
  // kMaximumZoomFactor.
  double maximumZoomFactor() const;
  static constexpr double kMaximumZoomFactor = 1000;
  // Animates the visible rectangle from `from` to `to`; a focus ends by
  // making the selection the current state.
  void animateZoom(int32_t kind, const TMRect& from, const TMRect& to);
  // True while no tree is shown.
  bool isZoomMinimum() const { return root_ == nullptr; }
  // True while no tree is shown, and when one more step in would pass the
  // maximum.
  bool isZoomMaximum() const;

  // The animation's side (its delegate).
  bool animationShouldStart(AnimationPerFrame& animation);
  void animationDidEnd(AnimationPerFrame& animation);
  void setVirtualSize(const TMRect& rect);
  // virtualSize — the visible rectangle.
  TMRect virtualSize() const { return current_ ? current_->size : frame(); }

  // The scroll bars' actions: `part` was hit on a bar showing `value`
  // (for the knob, where it was dragged to).
  void scrollHorizontal(TMScrollerPart part, double value);
  void scrollVertical(TMScrollerPart part, double value);
  void updateScrollerPosition();

  // --- selection and navigation -------------------------------------------
  // Runs `function` over the current canvas with a search record starting
  // at `url`; the found node goes to `result`.
  TMDrawInfo_t searchWithFunction(const TMSearchFunction& function, const TMFileURL& url,
                                  TMLayoutNode** result = nullptr);
  // Makes what the search finds the selection (unless it is already);
  // answers the node found, null when there is none.
  TMLayoutNode* selectWithFunction(const TMSearchFunction& function, const TMFileURL& url);
  // Selects the deepest findable node under `point` (virtual coordinates).
  void selectAtPoint(const TMPoint& point);
  // Selects the first item inside the selected folder, or inside the shown
  // one when nothing (or a file) is selected.
  void selectSubItem();
  // Moves the selection to the neighbour beyond an edge of it; with nothing
  // selected, selects the first item.
  void keyDown(TMArrowKey key);
  void mouseDown();
  // The mouse moved by (dx, dy) view pixels (y down) with its button held:
  // the map follows the pointer at any zoom.
  void mouseDragged(double dx, double dy);
  // The button went up at `viewPoint` (view coordinates, y up) after
  // `clickCount` clicks: selects, and a double click narrows or reveals.
  void mouseUp(const TMPoint& viewPoint, int clickCount);
  void revealSelectionInFinder();
  void narrowSelected();
  // Shows the node at `url`, going down or up.
  void focusOn(const TMFileURL& url);
  // Selects the item at `url` (a row chosen in a list beside the map): at
  // once where the shown folder lets it be seen; otherwise the map narrows
  // onto (or goes up to) the nearest folder where it can be, and selects it
  // there. An item too small to be seen even in its own folder leaves that
  // folder selected.
  void selectURL(const TMFileURL& url);
  void popNarrowing();
  // The path bar's component `url` was double-clicked.
  void pathDoubleClick(const TMFileURL& url);

  bool isSelectionNarrowable() const;
  bool isAtTopLevel() const;
  // An item on disk is selected: not the free or the unscanned space.
  bool isSelectionReavealableInFinder() const { return isSelectionDeletable(); }
  // Whether the map's items are on this machine's disks, as a scan's are;
  // a saved scan's may come from elsewhere: they are then neither revealed
  // nor moved to the trash.
  void setItemsOnDisk(bool onDisk) { itemsOnDisk_ = onDisk; }
  // Whether a scan still writes the tree shown: the areas too small to draw
  // their files are then not walked for what they hold.
  void setTreeSettled(bool settled) { wheel_.setTreeSettled(settled); }

  // --- several items --------------------------------------------------------
  // One of the items selected.
  struct TMSelectedItem {
    TMFileURL url;
    TMFileTree* file;
  };
  // A Ctrl-click at `viewPoint` (view coordinates, y up): the item under it
  // joins the selection as its main item, or leaves it when it was in it.
  void toggleAtPoint(const TMPoint& viewPoint);
  // Selects every item of `urls` found in the tree (a choice of rows in a
  // list beside the map): the first as selectURL does, the others beside it.
  void selectItems(const std::vector<TMFileURL>& urls);
  // Everything selected that is an item (not free or unscanned space), the
  // main item first.
  std::vector<TMSelectedItem> selectedItems() const;
  // Whether more than one item is selected.
  bool hasSeveralSelected() const { return !alsoSelected_.empty(); }
  // Nothing selected any more.
  void clearSelection();

  // --- deletion -------------------------------------------------------------
  // deleteSelection: — moves the selected file or folder to the trash and,
  // once it is there, removes it from the file tree and the layout in place
  // and redraws; nothing is selected afterwards (a second Delete must not
  // take the shown folder). The argument is not consulted. Deleting the
  // scanned folder itself empties the view and calls the cleanup responder.
  // A refusal of the trash changes nothing and is shown to the user.
  void deleteSelection(bool sender);
  // Moves each item at `urls` to the trash as deleteSelection does, and
  // updates the map once at the end; an item inside another of them goes
  // with it. The first item the trash refuses stays and is named; the
  // others still go.
  void deleteItems(const std::vector<TMFileURL>& urls);
  // A selection that names an item on disk (not free or unscanned space).
  bool isSelectionDeletable() const { return itemsOnDisk_ && selected_ && selected_->file != nullptr; }
  // Called once the view has let go of a tree whose root was deleted.
  void setCleanupResponder(std::function<void()> responder) { cleanupResponder_ = std::move(responder); }
  // Called with each node deleted (already unlinked, still alive), before
  // the state-change callback.
  void setDeletionResponder(std::function<void(const TMFileTree&)> responder) {
    deletionResponder_ = std::move(responder);
  }
  // What the scan opened at the scanned folder: the trash moves an item only
  // while the folder there is still that one.
  void setScannedRootIdentity(const TMFileIdentity& identity) { scannedRootIdentity_ = identity; }
  // Whether the selection is the scanned folder itself.
  bool isSelectionRoot() const;

  // --- changes on disk -------------------------------------------------------
  // The nodes of `changed` (see TMAppliedChanges) changed in the tree
  // shown: the layout is refreshed in place and drawn again; the zoom, the
  // folder shown and the selection stay where their items still are (else
  // the nearest folder still there is shown, and what went is no longer
  // selected). False when the layout cannot be refreshed in place: then
  // nothing changed here, and the whole map is to be built again.
  bool showChangedTree(const std::unordered_set<const TMFileTree*>& changed, const std::unordered_set<const TMFileTree*>& regrouped);

  // What lies under `viewPoint` (view coordinates, y up), if anything.
  std::optional<TMNodeDescription> describeNodeAt(const TMPoint& viewPoint);

 private:
  void notify();
  void regatherAndRepaint();
  // Makes `state` the selection and shows it (path, title, the window's
  // represented URL), then notifies. The items selected beside it go.
  void setSelection(std::shared_ptr<TMNodeState> state, bool isFile);
  // The items selected beside the main one become `items`.
  void setAlsoSelected(std::vector<TMSelectedItem> items);
  // What deleting the item at `url` came to: the node that went, or null
  // (nothing there any more), and whether the trash refused it (and why).
  struct TMDeletion {
    const TMFileTree* deleted = nullptr;
    bool refused = false;
    std::string failure;
  };
  TMDeletion deleteOne(const TMFileURL& url);
  // stretchBy, stopped at the maximum zoom: the wheel and the pinch stop
  // where the zoom steps stop.
  void stretchWithinZoomLimit(double sx, double sy);
  // Nothing selected: the path bar and the title show the shown folder.
  void showUnselected();
  // Selects `url` if a path search from the shown folder reaches it and
  // its tile can be seen there (or `evenUnseen`).
  bool selectIfSeen(const TMFileURL& url, bool evenUnseen = false);
  // After a focus animation: selects the item selectURL asked for, or goes
  // on towards its folder.
  void continuePendingSelection();
  // After a resize: the selection's rectangle on the new canvas.
  void relocateSelection(double xRatio, double yRatio);
  // After the node that filled the view was deleted: its parent, laid out
  // as `parentLayout` (null when not laid out), fills it; else the root.
  void showParentOf(const TMFileURL& deleted, TMLayoutFolder* parentLayout);
  // The layout node at `url` found from the root by path, or null.
  TMLayoutNode* laidOutAt(const TMFileURL& url);
  // One view pixel in virtual units, as the last frame mapped it.
  double pixelWidth() const { return geometry_ ? geometry_->virtualPixelWidthSize() : 1; }
  double pixelHeight() const { return geometry_ ? geometry_->virtualPixelHeightSize() : 1; }
  // A point of the view (y up) on the virtual canvas.
  TMPoint virtualPointOf(const TMPoint& viewPoint) const;
  // The search for the node named by `parts` in `layout`, whose own name
  // is parts[beginningAt].
  static TMSearchFunction pathSearch(std::shared_ptr<TMLayoutNode> layout,
                                     std::vector<std::string> parts, int32_t beginningAt);
  // The search for the deepest findable node under `point` in `layout`.
  static TMSearchFunction pointSearch(std::shared_ptr<TMLayoutNode> layout, const TMPoint& point);
  // Going up: the new current node is shown from the rectangle the old one
  // (named by `previousParts`) has on the root's canvas to the whole view.
  void widenFromOnRootCanvas(const std::vector<std::string>& previousParts);

  TMTreeMapViewHost& host_;
  std::shared_ptr<const TMTextMeasuring> measurer_;
  double width_;
  double height_;
  std::unique_ptr<TMGeometryGatherer> geometry_;
  TMColorWheel wheel_;
  std::shared_ptr<const TMFileColoring> fileColoring_;
  bool lockAnyMouseEvent_ = false;
  int32_t animationKind_ = kFocusAnimation;
  std::unique_ptr<AnimationPerFrame> zoomAnim_;
  std::shared_ptr<TMNodeState> root_;
  std::shared_ptr<TMNodeState> current_;
  std::shared_ptr<TMNodeState> selected_;
  std::vector<TMSelectedItem> alsoSelected_;  // beside selected_
  std::unordered_set<const TMFileTree*> alsoSelectedFiles_;
  bool isSelectionFile_ = false;
  bool dragged_ = false;
  std::function<void()> stateChangeNotifier_;
  std::function<void()> cleanupResponder_;
  std::function<void(const TMFileTree&)> deletionResponder_;
  TMFileIdentity scannedRootIdentity_;
  std::optional<TMRect> zoomTarget_;  // where a running zoom ends, exactly
  bool showsSpace_ = true;
  // The tree as handed over, space and all (shown at root_'s URL).
  std::shared_ptr<TMLayoutNode> handedOver_;
  bool itemsOnDisk_ = true;
  // What selectURL is to select once the map shows its folder, and how
  // many more narrowings it may take to get there.
  std::optional<TMFileURL> pendingSelection_;
  int pendingNarrowings_ = 0;
};

}  // namespace tilemora
