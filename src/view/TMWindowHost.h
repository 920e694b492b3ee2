// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window controller drives in its window: the message view,
// the progress indicator, the recent-folders list and the toolbar. The Qt
// main window implements it; tests use a fake.

#include <functional>
#include <string_view>

#include "TMScanStatus.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

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

  virtual void noteRecentFolder(const TMFileURL& url) = 0;
  // The status line under the map.
  virtual void showScanStatus(const TMScanStatus& status) = 0;

  // Folders dropped on the message view go to `responder`.
  virtual void setFileDropResponder(std::function<void(const TMFileURL&)> responder) = 0;
  // The controller's toolbar flags changed (once after each recomputation).
  virtual void toolbarFlagsChanged() = 0;
};

}  // namespace tilemora
