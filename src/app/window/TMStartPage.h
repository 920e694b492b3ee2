// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a window opened without a folder shows: the invitation to drop one
// (or why the last could not be opened), and below it the places a user
// would scan: the mounted disks with their used and free space, the home
// folder and the recent folders. Enter or a double click scans the one
// chosen; the list has the keys from the start. It follows the mount
// table: a disk mounted or unmounted shows at once (the kernel signals a
// change of /proc/self/mountinfo as an exceptional condition, POLLPRI).

#include <QWidget>

#include <memory>
#include <string>

class QSocketNotifier;
class QTreeWidget;
class QTreeWidgetItem;

namespace tilemora {

class TMFileSystem;
class TMMessageView;

class TMStartPage : public QWidget {
  Q_OBJECT

 public:
  // Lists the volumes of `fileSystem`'s mount table, watched at `mountInfoPath`.
  explicit TMStartPage(std::shared_ptr<const TMFileSystem> fileSystem, QWidget* parent = nullptr,
                       const char* mountInfoPath = "/proc/self/mountinfo");
  ~TMStartPage() override;

  TMMessageView& messageView() { return *messageView_; }
  QTreeWidget& places() { return *places_; }
  // Lists the places again (the recent folders may have changed).
  void refresh();
  // Gives the list the keys.
  void focusPlaces();

  // The role of a place's path (raw bytes) in the list's items.
  static constexpr int kPathRole = Qt::UserRole + 1;
  static constexpr int kUsedShareRole = Qt::UserRole + 2;

 signals:
  void folderChosen(const QByteArray& path);

 private:
  QTreeWidgetItem* addGroup(const QString& title);
  QTreeWidgetItem* addPlace(const QByteArray& path, const QString& name);
  void choose(QTreeWidgetItem* item);

  std::shared_ptr<const TMFileSystem> fileSystem_;
  TMMessageView* messageView_;
  QTreeWidget* places_;
  int mountInfo_ = -1;
  QSocketNotifier* mountsChanged_ = nullptr;
};

}  // namespace tilemora
