// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSelectionCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "actions/TMSelectionActions.h"
#include "core/filetree/TMFileTree.h"
#include "map/TMMapCommands.h"
#include "map/TMMapPane.h"
#include "map/TMTreeMapWidget.h"
#include "view/session/TMSession.h"
#include "window/TMPlainMessage.h"

namespace tilemora {

TMSelectionCommands::TMSelectionCommands(QMainWindow& window, TMSession& session, TMMapPane& pane,
                                         TMMapCommands& mapCommands)
    : QObject(&window),
      window_(window),
      session_(session),
      pane_(pane),
      mapCommands_(mapCommands),
      actions_(std::make_unique<TMSelectionActions>(TMDesktopAccess::system())) {
  openItem_ = new QAction(QIcon::fromTheme(QStringLiteral("document-open")), tr("Open &Item"), &window);
  openItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  connect(openItem_, &QAction::triggered, this, [this] {
    if (const TMNodeState* selected = pane_.view().selected()) actions_->open(selected->url);
  });
  openTerminal_ = new QAction(QIcon::fromTheme(QStringLiteral("utilities-terminal")), tr("Open Ter&minal Here"), &window);
  openTerminal_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  connect(openTerminal_, &QAction::triggered, this, [this] {
    const TMNodeState* selected = pane_.view().selected();
    if (selected == nullptr || selected->file == nullptr) return;
    const QString failure = actions_->openTerminal(selected->url, selected->file->asFolder() != nullptr);
    if (!failure.isEmpty()) showPlainWarning(&window_, tr("Open Terminal Here"), failure);
  });
  copyPath_ = new QAction(QIcon::fromTheme(QStringLiteral("edit-copy")), tr("&Copy Path"), &window);
  copyPath_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  connect(copyPath_, &QAction::triggered, this, [this] {
    // Several items: every path, one a line.
    if (pane_.view().hasSeveralSelected()) {
      std::vector<TMFileURL> urls;
      for (const auto& item : pane_.view().selectedItems()) urls.push_back(item.url);
      return actions_->copyPaths(urls, pane_.map().origins());
    }
    if (const TMNodeState* selected = pane_.view().selected())
      actions_->copyPath(selected->url, pane_.map().origins());
  });
  window.addActions({openItem_, openTerminal_, copyPath_});
  update();
}

TMSelectionCommands::~TMSelectionCommands() = default;

void TMSelectionCommands::setDesktopAccess(TMDesktopAccess desktop) {
  actions_ = std::make_unique<TMSelectionActions>(std::move(desktop));
}

void TMSelectionCommands::update() {
  const TMNodeState* selected = pane_.view().selected();
  // A saved scan's items may not be on this machine: only their path is.
  const bool onDisk = session_.controller().showableInFinder();
  openItem_->setEnabled(onDisk);
  openTerminal_->setEnabled(onDisk);
  openTerminal_->setToolTip(session_.controller().isAdministratorScan()
                                ? tr("Scanned as administrator: no terminal is opened in what you may not read")
                                : QString());
  copyPath_->setEnabled(selected != nullptr && selected->file != nullptr);
}

void TMSelectionCommands::showMenu(const QPoint& globalPosition) {
  auto* menu = new QMenu(&window_);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addActions({openItem_, &mapCommands_.reveal(), openTerminal_, copyPath_});
  menu->addSeparator();
  menu->addActions({&mapCommands_.narrow(), &mapCommands_.goUp()});
  menu->addSeparator();
  menu->addAction(&mapCommands_.moveToTrash());
  menu->popup(globalPosition);
}

}  // namespace tilemora
