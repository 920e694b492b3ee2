// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a main window asks of the application: the commands that are not
// the window's own, and a word when the kept preferences changed or the
// window went. The application delegate answers; the window does not know
// it.

class QWidget;

namespace tilemora {

class TMWindowDelegate {
 public:
  virtual ~TMWindowDelegate() = default;
  // File ▸ New Window.
  virtual void openNewWindow() = 0;
  // Edit ▸ Preferences…, over `parent`.
  virtual void openPreferences(QWidget* parent) = 0;
  // Help ▸ About, over `parent`.
  virtual void openAbout(QWidget* parent) = 0;
  // File ▸ Quit: every window closes.
  virtual void quit() = 0;
  // A window changed a kept preference: every window applies it.
  virtual void preferencesChanged() = 0;
  // A window's scans and work have ended; it goes.
  virtual void windowClosed() = 0;
};

}  // namespace tilemora
