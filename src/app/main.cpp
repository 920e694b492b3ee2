// SPDX-License-Identifier: GPL-3.0-or-later
// tilemora: the desktop application. Opens one window per folder given on
// the command line (or handed over by the file manager), else an empty one.

#include <QApplication>
#include <QCommandLineParser>

#include "TMAppIcon.h"
#include "TMMainWindow.h"
#include "TMPreferences.h"
#include "TMQtMainQueue.h"
#include "TilemoraAppDelegate.h"
#include "core/filetree/TMScanTask.h"

using namespace tilemora;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tilemora"));
  QApplication::setOrganizationName(QStringLiteral("Tilemora"));
  QApplication::setApplicationVersion(QStringLiteral(TILEMORA_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("tilemora"));
  QApplication::setWindowIcon(tilemoraIcon());
  TMPreferences::load().applySizeUnits();

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Shows how the space of a folder is used, as a treemap."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption({QStringLiteral("import"),
                    QStringLiteral("Shows a scan saved by tilemora-scan --export or ncdu -o (- for standard input)."),
                    QStringLiteral("file")});
  parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folders to open, one window each."),
                               QStringLiteral("[folder…]"));
  parser.process(application);

  auto mainQueue = std::make_shared<TMQtMainQueue>(&application);
  TilemoraAppDelegate delegate(mainQueue);
  // The bytes of argv, not Qt's decoded arguments: a folder whose name is
  // not valid UTF-8 must reach the scan as it is.
  const QList<QByteArray> folders = TilemoraAppDelegate::folderArguments(argc, argv);
  for (const QByteArray& folder : folders) delegate.openRawPath(folder);
  const QList<QByteArray> imports = TilemoraAppDelegate::importArguments(argc, argv);
  for (const QByteArray& file : imports) delegate.openUntitledFile()->importScan(file);
  if (folders.isEmpty() && imports.isEmpty()) delegate.openUntitledFile();

  const int status = application.exec();
  // Windows still open stop their scans as they go; then wait the few
  // milliseconds the scan threads take to notice, for a clean exit.
  QApplication::closeAllWindows();
  TMScanTask::waitForAllScans(std::chrono::seconds(2));
  return status;
}
