// SPDX-License-Identifier: GPL-3.0-or-later
// tilemora: the desktop application. Opens one window per folder given on
// the command line (or handed over by the file manager), else an empty one.

#include <QApplication>
#include <QCommandLineParser>

#include "TMAppIcon.h"
#include "compare/TMCompareFeature.h"
#include "window/TMMainWindow.h"
#include "TMPreferences.h"
#include "TMQtMainQueue.h"
#include "TMTranslations.h"
#include "TilemoraAppDelegate.h"
#include "core/scan/TMScanTask.h"
#include "core/platform/TMHeapTrim.h"

using namespace tilemora;

namespace {

void nameApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Tilemora"));
  QCoreApplication::setOrganizationName(QStringLiteral("Tilemora"));
  QCoreApplication::setApplicationVersion(QStringLiteral(TILEMORA_VERSION));
}

void describeArguments(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("Shows how the space of a folder is used, as a treemap."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption({QStringLiteral("import"),
                    QStringLiteral("Shows a scan saved by tilemora-scan --export or ncdu -o (- for standard input). "
                                   "Several --import show their scans side by side, as one map."),
                    QStringLiteral("file")});
  parser.addOption({QStringLiteral("compare"),
                    QStringLiteral("Colours the map by what changed since a saved scan of the folder (without a "
                                   "folder: the one the saved scan names)."),
                    QStringLiteral("file")});
  parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folders to open, one window each."),
                               QStringLiteral("[folder…]"));
}

// --help and --version print and exit before anything needs a display.
void answerHelpAndVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray argument(argv[i]);
    if (argument == "--") return;
    if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "--help-all" ||
        argument == "-v" || argument == "--version") {
      QCoreApplication application(argc, argv);
      nameApplication();
      QCommandLineParser parser;
      describeArguments(parser);
      parser.process(application);  // prints and exits
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  returnBigBlocksAtOnce();
  answerHelpAndVersion(argc, argv);
  QApplication application(argc, argv);
  nameApplication();
  QApplication::setDesktopFileName(QStringLiteral("tilemora"));
  QApplication::setWindowIcon(tilemoraIcon());
  installTranslations();
  TMPreferences::load().applySizeUnits();

  QCommandLineParser parser;
  describeArguments(parser);
  parser.process(application);

  auto mainQueue = std::make_shared<TMQtMainQueue>(&application);
  TilemoraAppDelegate delegate(mainQueue);
  // The bytes of argv, not Qt's decoded arguments: a folder whose name is
  // not valid UTF-8 must reach the scan as it is.
  const QList<QByteArray> folders = TilemoraAppDelegate::folderArguments(argc, argv);
  const QByteArray compare = TilemoraAppDelegate::compareArgument(argc, argv);
  for (const QByteArray& folder : folders) {
    TMMainWindow* window = delegate.openRawPath(folder);
    if (!compare.isEmpty()) window->compare().compareWithSavedScan(compare);
  }
  // Several saved scans make one map.
  const QList<QByteArray> imports = TilemoraAppDelegate::importArguments(argc, argv);
  if (!imports.isEmpty()) delegate.openUntitledFile()->importScans(imports);
  if (folders.isEmpty() && imports.isEmpty()) {
    TMMainWindow* window = delegate.openUntitledFile();
    if (!compare.isEmpty()) window->compare().compareWithSavedScan(compare);
  }

  const int status = application.exec();
  // Windows still open stop their scans and their work as they go, and
  // wait for them.
  QApplication::closeAllWindows();
  return status;
}
