// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a window's session tells those who present it (the list, find,
// colours and legend, compare, the window itself): what the controller
// tells of the tree, and what the session's own work came to.

#include <string>

#include "view/session/TMTreeObserver.h"
#include "import/TMNcduImport.h"

namespace tilemora {

class TMSessionObserver : public TMTreeObserver {
 public:
  // What a saved scan was read for.
  enum class Reading { kShowing, kComparing };

  // The search's matches changed: a search ended, or none is shown any more.
  virtual void searchChanged() {}
  // A comparison with a saved scan came, or went.
  virtual void comparisonChanged() {}
  // The map's colours changed (another colouring, other files picked out).
  virtual void coloringChanged() {}
  // A saved scan is being read, or no longer is.
  virtual void readingChanged(Reading /*why*/, bool /*reading*/) {}
  // A saved scan could not be read (a stop included: "stopped").
  virtual void readFailed(Reading /*why*/, const TMImportError& /*error*/) {}
  // The shown scan is being saved, or no longer is.
  virtual void savingChanged(bool /*saving*/) {}
  // Saving the shown scan to `path` ended: done, or why not.
  virtual void saveEnded(const std::string& /*path*/, bool /*saved*/, const std::string& /*error*/) {}
  // The history could not keep the completed scan, and why.
  virtual void historyFailed(const std::string& /*error*/) {}
};

}  // namespace tilemora
