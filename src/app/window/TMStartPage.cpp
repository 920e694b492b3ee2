// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMStartPage.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QSocketNotifier>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "TMRecentFolders.h"
#include "core/drawing/TMSizeFormatter.h"
#include "core/platform/TMFileSystem.h"
#include "core/platform/TMScannableVolumes.h"
#include "list/TMShareBarDelegate.h"
#include "window/TMDisplayText.h"
#include "window/TMMessageView.h"

namespace tilemora {

namespace {

enum PlaceColumn { kName, kDevice, kUsed, kFree, kSize, kColumns };

QString placeSizeText(uint64_t bytes) {
  return QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(bytes));
}

}  // namespace

TMStartPage::TMStartPage(std::shared_ptr<const TMFileSystem> fileSystem, QWidget* parent, const char* mountInfoPath)
    : QWidget(parent), fileSystem_(std::move(fileSystem)) {
  messageView_ = new TMMessageView;
  places_ = new QTreeWidget;
  places_->setColumnCount(kColumns);
  places_->setHeaderLabels({tr("Place"), tr("Device"), tr("Used"), tr("Free"), tr("Size")});
  places_->setAccessibleName(tr("Places to scan"));
  places_->header()->setAccessibleName(tr("Columns"));
  places_->setRootIsDecorated(false);
  places_->setItemsExpandable(false);
  places_->setUniformRowHeights(true);
  places_->setItemDelegateForColumn(kUsed, new TMShareBarDelegate(kUsedShareRole, places_));
  places_->header()->setStretchLastSection(false);
  places_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  places_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
  connect(places_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { choose(item); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(messageView_, 3);
  layout->addWidget(places_, 2);

  mountInfo_ = ::open(mountInfoPath, O_RDONLY | O_CLOEXEC);
  if (mountInfo_ >= 0) {
    mountsChanged_ = new QSocketNotifier(mountInfo_, QSocketNotifier::Exception, this);
    connect(mountsChanged_, &QSocketNotifier::activated, this, [this] { refresh(); });
  }
  refresh();
}

TMStartPage::~TMStartPage() {
  delete mountsChanged_;
  if (mountInfo_ >= 0) ::close(mountInfo_);
}

QTreeWidgetItem* TMStartPage::addGroup(const QString& title) {
  auto* group = new QTreeWidgetItem(places_, {title});
  // A title, not a place: the arrows pass over it (as over a disabled
  // item), yet it reads as plainly as the places. The places follow it on
  // rows of their own, not as its children, which would be disabled too.
  group->setFlags(Qt::NoItemFlags);
  group->setForeground(kName, places_->palette().brush(QPalette::Active, QPalette::Text));
  QFont bold = group->font(kName);
  bold.setBold(true);
  group->setFont(kName, bold);
  group->setFirstColumnSpanned(true);
  return group;
}

QTreeWidgetItem* TMStartPage::addPlace(const QByteArray& path, const QString& name) {
  auto* item = new QTreeWidgetItem(places_, {QStringLiteral("    ") + name});
  item->setData(kName, kPathRole, path);
  item->setToolTip(kName, displayText(path.toStdString()));
  return item;
}

void TMStartPage::refresh() {
  const QByteArray current = places_->currentItem() ? places_->currentItem()->data(kName, kPathRole).toByteArray()
                                                    : QByteArray();
  places_->clear();
  addGroup(tr("Disks"));
  QTreeWidgetItem* firstDisk = nullptr;
  for (const TMScannableVolume& volume : scannableVolumes(*fileSystem_)) {
    QTreeWidgetItem* item = addPlace(QByteArray::fromStdString(volume.mountPoint), displayText(volume.mountPoint));
    if (firstDisk == nullptr) firstDisk = item;
    item->setText(kDevice, displayText(volume.device) + QStringLiteral(" (") + QString::fromStdString(volume.type) +
                               QLatin1Char(')'));
    if (volume.totalSize == 0) continue;
    const double used = double(volume.usedSize()) / double(volume.totalSize);
    item->setData(kUsed, kUsedShareRole, used);
    item->setText(kUsed, tr("%1 (%2 %)").arg(placeSizeText(volume.usedSize()), QLocale().toString(100.0 * used, 'f', 0)));
    item->setText(kFree, placeSizeText(volume.freeSize));
    item->setText(kSize, placeSizeText(volume.totalSize));
    for (int column = kUsed; column < kColumns; ++column) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
  addGroup(tr("Home"));
  const QByteArray homePath = QFile::encodeName(QDir::homePath());
  QTreeWidgetItem* home = addPlace(homePath, displayText(homePath.toStdString()));
  const QList<QByteArray> recent = TMRecentFolders::list();
  if (!recent.isEmpty()) {
    addGroup(tr("Recent folders"));
    for (const QByteArray& path : recent) addPlace(path, displayText(path.toStdString()));
  }
  // The choice stays where it was; else the first disk.
  QTreeWidgetItem* chosen = nullptr;
  for (QTreeWidgetItemIterator it(places_); *it && !chosen; ++it) {
    if (!current.isEmpty() && (*it)->data(kName, kPathRole).toByteArray() == current) chosen = *it;
  }
  if (chosen == nullptr) chosen = firstDisk != nullptr ? firstDisk : home;
  places_->setCurrentItem(chosen);
}

void TMStartPage::focusPlaces() { places_->setFocus(); }

void TMStartPage::choose(QTreeWidgetItem* item) {
  const QByteArray path = item ? item->data(kName, kPathRole).toByteArray() : QByteArray();
  if (!path.isEmpty()) emit folderChosen(path);
}

}  // namespace tilemora
