// SPDX-License-Identifier: GPL-3.0-or-later
#include "TilemoraAppDelegate.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "view/controller/TMGlobalQueues.h"
#include "window/TMMainWindow.h"
#include "TMPreferencesDialog.h"

namespace tilemora {

TilemoraAppDelegate::TilemoraAppDelegate(std::shared_ptr<TMMainQueue> mainQueue)
    : mainQueue_(std::move(mainQueue)) {}

TMMainWindow* TilemoraAppDelegate::makeWindow() {
  auto* window = new TMMainWindow(*this, mainQueue_);  // deletes itself when closed
  window->show();
  return window;
}

TMMainWindow* TilemoraAppDelegate::openFile(const QString& path) { return openRawPath(QFile::encodeName(path)); }

TMMainWindow* TilemoraAppDelegate::openRawPath(const QByteArray& path) {
  TMGlobalQueues::sharedQueues().addFileToQueue(TMFileURL::fromPath(path.toStdString()));
  return makeWindow();  // takes the folder out of the slot as it is set up
}

namespace {

// Splits a command line into folders, saved scans to show and saved scans
// to compare with, as raw bytes.
void splitArguments(int argc, const char* const* argv, QList<QByteArray>* folders, QList<QByteArray>* imports,
                    QList<QByteArray>* compares = nullptr) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const QByteArray argument(argv[i]);
    bool taken = false;
    for (auto [option, list] :
         {std::pair{QByteArray("--import"), imports}, std::pair{QByteArray("--compare"), compares}}) {
      if (optionsEnded || taken) continue;
      if (argument == option) {
        if (++i < argc && list) *list << QByteArray(argv[i]);
        taken = true;
      } else if (argument.startsWith(option + '=')) {
        if (list) *list << argument.mid(option.size() + 1);
        taken = true;
      }
    }
    if (taken) continue;
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if ((optionsEnded || !argument.startsWith('-') || argument == "-") && folders) {
      *folders << argument;
    }
  }
}

}  // namespace

QList<QByteArray> TilemoraAppDelegate::folderArguments(int argc, const char* const* argv) {
  QList<QByteArray> folders;
  splitArguments(argc, argv, &folders, nullptr);
  return folders;
}

QList<QByteArray> TilemoraAppDelegate::importArguments(int argc, const char* const* argv) {
  QList<QByteArray> imports;
  splitArguments(argc, argv, nullptr, &imports);
  return imports;
}

QByteArray TilemoraAppDelegate::compareArgument(int argc, const char* const* argv) {
  QList<QByteArray> compares;
  splitArguments(argc, argv, nullptr, nullptr, &compares);
  return compares.isEmpty() ? QByteArray() : compares.back();
}

TMMainWindow* TilemoraAppDelegate::openUntitledFile() { return makeWindow(); }

void TilemoraAppDelegate::openDocument() {
  const QString folder = QFileDialog::getExistingDirectory(nullptr, tr("Open Folder"));
  if (!folder.isEmpty()) openFile(folder);
}

QString TilemoraAppDelegate::versionString() {
  return QStringLiteral("Version %1 (%2)").arg(QStringLiteral(TILEMORA_VERSION),
                                                 QStringLiteral(TILEMORA_BUILD_NUMBER));
}

void TilemoraAppDelegate::openAbout(QWidget* parent) {
  QMessageBox::about(parent, tr("About Tilemora"),
                     QStringLiteral("<b>Tilemora</b><p>%1</p><p>%2</p>")
                         .arg(versionString().toHtmlEscaped(),
                              tr("Shows how the space of a folder or a disk is used, as a treemap.")));
}

void TilemoraAppDelegate::openPreferences(QWidget* parent) {
  auto* dialog = new TMPreferencesDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &TMPreferencesDialog::preferencesChanged, this, [] { applyPreferencesToWindows(); });
  dialog->open();
}

void TilemoraAppDelegate::applyPreferencesToWindows() {
  const TMPreferences preferences = TMPreferences::load();
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<TMMainWindow*>(widget)) window->applyPreferences(preferences);
  }
}

void TilemoraAppDelegate::quit() {
  QApplication::closeAllWindows();
  QApplication::quit();
}

void TilemoraAppDelegate::setHasOpenedWindow(bool value) {
  if (hasOpenedWindow_ == value) return;
  hasOpenedWindow_ = value;
  emit hasOpenedWindowChanged();
}

}  // namespace tilemora
