// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMapCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "TMPreferences.h"
#include "map/TMMapPane.h"
#include "view/session/TMSession.h"
#include "window/TMWindowDelegate.h"

namespace tilemora {

TMMapCommands::TMMapCommands(QMainWindow& window, TMSession& session, TMMapPane& pane, TMWindowDelegate& delegate)
    : QObject(&window), session_(session), pane_(pane) {
  TMMainWindowController& controller = session.controller();
  auto command = [&](const QString& text, const char* iconName, QStyle::StandardPixmap fallback,
                     QList<QKeySequence> keys, auto forward) {
    const QIcon icon = fallback == QStyle::SP_CustomBase
                           ? QIcon::fromTheme(QLatin1String(iconName))
                           : QIcon::fromTheme(QLatin1String(iconName), window.style()->standardIcon(fallback));
    auto* action = new QAction(icon, text, &window);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, [&controller, forward] { (controller.*forward)(); });
    return action;
  };
  zoomIn_ = command(tr("Zoom &In"), "zoom-in", QStyle::SP_CustomBase,
                    {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                    &TMMainWindowController::zoomInView);
  zoomOut_ = command(tr("Zoom &Out"), "zoom-out", QStyle::SP_CustomBase, {QKeySequence::ZoomOut},
                     &TMMainWindowController::zoomOutView);
  narrow_ = command(tr("&Narrow"), "go-down", QStyle::SP_ArrowDown,
                    {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                    &TMMainWindowController::narrowFolder);
  goUp_ = command(tr("Go &Up"), "go-up", QStyle::SP_ArrowUp,
                  {QKeySequence(Qt::ALT | Qt::Key_Up), QKeySequence(Qt::Key_Backspace)},
                  &TMMainWindowController::goUp);
  reveal_ = command(tr("&Reveal in File Manager"), "system-file-manager", QStyle::SP_DirOpenIcon,
                    {QKeySequence(Qt::CTRL | Qt::Key_R)}, &TMMainWindowController::revealInFinder);
  moveToTrash_ = command(tr("Move to &Trash"), "user-trash", QStyle::SP_TrashIcon, {QKeySequence::Delete},
                         &TMMainWindowController::deleteSelectedElement);
  selectFirstItem_ = new QAction(tr("Select &First Item"), &window);
  connect(selectFirstItem_, &QAction::triggered, this, [this] { pane_.view().selectSubItem(); });
  rescan_ = new QAction(tr("R&escan"), &window);
  rescan_->setShortcut(QKeySequence(Qt::Key_F5));
  connect(rescan_, &QAction::triggered, this, [&controller] {
    if (controller.canRescan()) controller.openURL(*controller.scannedUrl());
  });
  showFreeSpace_ = new QAction(tr("Show Free &Space"), &window);
  showFreeSpace_->setCheckable(true);
  showFreeSpace_->setChecked(pane.view().showsSpace());
  showFreeSpace_->setToolTip(tr("A volume's free space and the space the scan did not reach, beside its folder"));
  // A checkable preference: saved, then applied to every window.
  auto keepsPreference = [this, &delegate](QAction* action, bool TMPreferences::*setting) {
    connect(action, &QAction::toggled, this, [&delegate, setting](bool checked) {
      TMPreferences preferences = TMPreferences::load();
      preferences.*setting = checked;
      preferences.save();
      delegate.preferencesChanged();
    });
  };
  keepsPreference(showFreeSpace_, &TMPreferences::showFreeSpace);
  followChanges_ = new QAction(tr("Follo&w Changes"), &window);
  followChanges_->setCheckable(true);
  followChanges_->setToolTip(tr("Keeps the map of a finished scan true while files change on disk"));
  keepsPreference(followChanges_, &TMPreferences::followChanges);
  sizeMeasure_ = new QActionGroup(this);
  const std::pair<QString, TMSizeMeasure> measures[] = {
      {tr("On &Disk"), TMSizeMeasure::kOnDisk}, {tr("&Apparent"), TMSizeMeasure::kLength}};
  for (const auto& [text, measure] : measures) {
    auto* action = new QAction(text, sizeMeasure_);
    action->setCheckable(true);
    action->setData(int(measure));
    action->setChecked(measure == controller.sizeMeasure());
  }
  sizeMeasure_->actions()[0]->setToolTip(tr("The space files take on disk, in whole blocks"));
  sizeMeasure_->actions()[1]->setToolTip(tr("The files' length: what they hold, sparse files at their full length"));
  connect(sizeMeasure_, &QActionGroup::triggered, this, [&delegate](QAction* action) {
    TMPreferences preferences = TMPreferences::load();
    preferences.sizeMeasure = TMSizeMeasure(action->data().toInt());
    preferences.save();
    delegate.preferencesChanged();
  });
  window.addActions({zoomIn_, zoomOut_, narrow_, goUp_, reveal_, moveToTrash_, selectFirstItem_, rescan_});

  QToolBar* toolbar = window.addToolBar(tr("Map"));
  toolbar->setObjectName(QStringLiteral("map"));
  toolbar->setMovable(false);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toolbar->addActions({zoomIn_, zoomOut_, narrow_, goUp_, reveal_, moveToTrash_});
  // Qt's button for the commands a narrow window has no room for has no
  // name of its own; assistive technology lists it even while hidden.
  if (auto* more = toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
    more->setAccessibleName(tr("More commands"));
  flagsChanged();
}

void TMMapCommands::flagsChanged() {
  const TMMainWindowController& c = session_.controller();
  zoomIn_->setEnabled(!c.atMaximumZoom());
  zoomOut_->setEnabled(!c.atMinimumZoom());
  narrow_->setEnabled(c.narrowable());
  selectFirstItem_->setEnabled(c.showsMap());
  goUp_->setEnabled(!c.atTopLevel());
  reveal_->setEnabled(c.showableInFinder());
  moveToTrash_->setEnabled(c.canDeleteSelection());
  moveToTrash_->setToolTip(c.isAdministratorScan()
                               ? tr("Scanned as administrator: its items are not moved from here")
                               : QString());
  // A saved scan's folder may not even be on this machine.
  rescan_->setEnabled(c.canRescan());
}

void TMMapCommands::setShowsFreeSpace(bool shown) {
  const QSignalBlocker quiet(showFreeSpace_);
  showFreeSpace_->setChecked(shown);
  pane_.view().setShowsSpace(shown);
}

void TMMapCommands::setFollowsChanges(bool follows) {
  const QSignalBlocker quiet(followChanges_);
  followChanges_->setChecked(follows);
  session_.setFollowChanges(follows);
}

void TMMapCommands::addSizeMenuTo(QMenu& view) { view.addMenu(tr("Si&ze"))->addActions(sizeMeasure_->actions()); }

void TMMapCommands::setSizeMeasure(TMSizeMeasure measure) {
  for (QAction* action : sizeMeasure_->actions()) action->setChecked(TMSizeMeasure(action->data().toInt()) == measure);
  session_.controller().setSizeMeasure(measure);
}

}  // namespace tilemora
