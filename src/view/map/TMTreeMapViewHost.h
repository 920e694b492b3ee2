// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tree map view's logic needs from the toolkit around it: the map
// pane implements it with Qt; tests use a fake with a manual clock.

#include <functional>
#include <optional>
#include <string_view>

#include "view/map/TMScrollers.h"
#include "core/platform/TMFileURL.h"
#include "core/platform/TMTrash.h"

namespace tilemora {

class TMTreeMapViewHost {
 public:
  virtual ~TMTreeMapViewHost() = default;

  // The view will be painted again from its last gathered frame.
  virtual void requestRepaint() = 0;
  // The path bar shows `url`, or nothing.
  virtual void showPath(const std::optional<TMFileURL>& url) = 0;
  // The window's title text: a name (the window may add the product's
  // name), or the product's name alone, kProductName.
  virtual void setWindowTitle(std::string_view title) = 0;
  static constexpr std::string_view kProductName = "Tilemora";
  // The path the window stands for, if any.
  virtual void setRepresentedURL(const std::optional<TMFileURL>& url) = 0;
  virtual void setScrollerPositions(const TMScrollerPositions& positions) = 0;

  // Runs an animation of `seconds` on the GUI loop: `frame` with the
  // progress rising from 0 to 1 (the last call with exactly 1), then `end`
  // once. The host drops both callbacks before it calls `end`. Starting
  // another replaces one still running.
  virtual void startAnimation(double seconds, std::function<void(float progress)> frame,
                              std::function<void()> end) = 0;

  // The closed-hand cursor while the map is dragged; popping shows the
  // arrow again.
  virtual void pushClosedHandCursor() = 0;
  virtual void popCursor() = 0;

  // Shows `item` selected in the file manager, in its folder `container`.
  // Must not block; its outcome is not reported.
  virtual void revealInFileManager(const TMFileURL& item, const TMFileURL& container) = 0;

  // Moves the request's item to the desktop's trash, if the disk still
  // agrees with the scan, and answers once it is there (or why not).
  virtual TMTrashResult moveToTrash(const TMTrashRequest& request) = 0;
  // Tells the user that `item` could not be deleted, and why.
  virtual void showDeletionFailure(const TMFileURL& item, std::string_view reason) = 0;
};

}  // namespace tilemora
