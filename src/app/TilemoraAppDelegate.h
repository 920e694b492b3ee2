// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Creates the main windows: one for every folder handed to the
// application (each scanning its own folder), or an empty one; answers the
// application-wide commands (new window, quit, about).

#include <QObject>
#include <QString>
#include <memory>

#include "core/platform/TMMainQueue.h"
#include "window/TMWindowDelegate.h"

class QWidget;

namespace tilemora {

class TMMainWindow;

class TilemoraAppDelegate : public QObject, public TMWindowDelegate {
  Q_OBJECT
  Q_PROPERTY(bool hasOpenedWindow READ hasOpenedWindow WRITE setHasOpenedWindow NOTIFY
                 hasOpenedWindowChanged)

 public:
  explicit TilemoraAppDelegate(std::shared_ptr<TMMainQueue> mainQueue);

  // application:openFile: — a new window scanning `path` (not examined:
  // whatever is handed over is scanned).
  TMMainWindow* openFile(const QString& path);
  // The same for a path given as raw bytes (names need not be UTF-8).
  TMMainWindow* openRawPath(const QByteArray& path);
  // The folders named on a command line, as raw bytes: every argument that
  // is not an option, and all after "--". Qt has taken out its own options.
  static QList<QByteArray> folderArguments(int argc, const char* const* argv);
  // The saved scans named on a command line by --import FILE (or
  // --import=FILE), as raw bytes.
  static QList<QByteArray> importArguments(int argc, const char* const* argv);
  // The saved scan named by --compare FILE (or --compare=FILE), the last
  // one given; empty for none.
  static QByteArray compareArgument(int argc, const char* const* argv);
  // applicationOpenUntitledFile: — a new, empty window.
  TMMainWindow* openUntitledFile();
  // The Open dialog for a new window.
  void openDocument();
  // A main window went away.
  void notifyWindowClosed() { setHasOpenedWindow(false); }

  // TMWindowDelegate
  void openNewWindow() override { openUntitledFile(); }
  // Edit ▸ Preferences: the dialog, over `parent`; what it keeps applies
  // to every window.
  void openPreferences(QWidget* parent) override;
  void preferencesChanged() override { applyPreferencesToWindows(); }
  void windowClosed() override { notifyWindowClosed(); }
  // Applies the kept preferences to every window: sizes redrawn at once,
  // the scan options for the next scans.
  static void applyPreferencesToWindows();

  // "Version %@ (%@)" with the version and the build number.
  static QString versionString();
  void openAbout(QWidget* parent) override;
  // Closes every window (stopping their scans), then leaves the event loop.
  void quit() override;

  bool hasOpenedWindow() const { return hasOpenedWindow_; }
  void setHasOpenedWindow(bool value);

 signals:
  void hasOpenedWindowChanged();

 private:
  TMMainWindow* makeWindow();

  std::shared_ptr<TMMainQueue> mainQueue_;
  bool hasOpenedWindow_ = true;
};

}  // namespace tilemora
