// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window controller drives in its window: the message view,
// the progress indicator, the recent-folders list and the toolbar. The Qt
// main window implements it; tests use a fake.

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "view/controller/TMScanStatus.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMFileTree;

// What the question before a move to the trash names.
struct TMTrashQuestion {
  TMFileURL item;
  uint64_t bytes = 0;
  bool folder = false;
  uint64_t files = 0;          // inside a folder (or inside all the items)
  bool scannedFolder = false;  // the whole scanned folder: always asked
  // Several items at once: each of them (none inside another), `item`
  // being the first; `bytes` and `files` are their totals.
  std::vector<TMFileURL> items;
};

class TMWindowHost {
 public:
  virtual ~TMWindowHost() = default;
  // Shows the initial message (and hides the map), or the reverse.
  virtual void showMessageView(bool shown) = 0;
  // Shows, in place of the initial message, that `url` cannot be opened
  // and why.
  virtual void showOpenFailure(const TMFileURL& url, std::string_view reason) = 0;

  virtual void setProgressIndeterminate(bool indeterminate) = 0;
  virtual bool isProgressIndeterminate() const = 0;
  virtual void startProgressAnimation() = 0;
  virtual void stopProgressAnimation() = 0;
  virtual void setProgressRange(double minimum, double maximum) = 0;
  // Sets the bar's value and shows it at once.
  virtual void setProgressValue(double value) = 0;
  // Shows or hides the bar (hidden where it would tell nothing true).
  virtual void setProgressVisible(bool visible) = 0;

  virtual void noteRecentFolder(const TMFileURL& url) = 0;
  // The status line under the map.
  virtual void showScanStatus(const TMScanStatus& status) = 0;

  // Folders dropped on the message view go to `responder`.
  virtual void setFileDropResponder(std::function<void(const TMFileURL&)> responder) = 0;
  // The controller's toolbar flags changed (once after each recomputation).
  virtual void toolbarFlagsChanged() = 0;

  // Asks, without blocking, whether to move an item to the trash; `answer`
  // runs once with the choice (and whether to stop asking for items inside
  // the scanned folder), or never if the window goes first.
  virtual void askToMoveToTrash(const TMTrashQuestion& question,
                                std::function<void(bool move, bool stopAsking)> answer) = 0;
  // The scanned folder itself went to the trash: the window says so in
  // place of the map, with an empty status line.
  virtual void showFolderTrashed(const TMFileURL& url) = 0;

  // A change of the tree waits for work that reads it to stop (a busy
  // cursor, a word in the status line), or no longer does.
  virtual void showWaitingForReaders(bool /*waiting*/) {}
};

}  // namespace tilemora
