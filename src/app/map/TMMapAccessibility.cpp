// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMapAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "window/TMDisplayText.h"
#include "list/TMRowTexts.h"
#include "map/TMTreeMapWidget.h"
#include "core/filetree/TMFileTree.h"

namespace tilemora {

namespace {

struct TMMapAccessibleText {
  Q_DECLARE_TR_FUNCTIONS(TMMapAccessibleText)
};

// A selected tile. It has no object of its own: the map's interface
// registers one for each tile selected, so that assistive technology,
// which keeps what it learnt of an object, meets a new one with its own
// name when the selection moves; it is removed when the selection moves on.
class TileAccessible : public QAccessibleInterface {
 public:
  TileAccessible(TMTreeMapWidget* map, TMFileURL url) : map_(map), url_(std::move(url)) {}

  bool isValid() const override {
    const TMNodeState* selected = map_ ? map_->view().selected() : nullptr;
    return selected != nullptr && selected->url == url_;
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return map_ ? map_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return map_ ? QAccessible::queryAccessibleInterface(map_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::Role role() const override { return QAccessible::TreeItem; }

  QAccessible::State state() const override {
    QAccessible::State state;
    state.focusable = state.selectable = true;
    state.focused = map_ && map_->hasFocus();
    state.selected = true;
    return state;
  }

  QString text(QAccessible::Text kind) const override {
    const TMNodeState* selected = isValid() ? map_->view().selected() : nullptr;
    if (selected == nullptr) return {};
    const TMScanOrigins& origins = map_->origins();
    if (kind == QAccessible::Name) return displayText(origins.shownComponents(selected->url).back());
    if (kind != QAccessible::Description) return {};
    const QString size = selected->file != nullptr ? sizeCellText(selected->file->diskSize()) : QString();
    const QString folder = displayText(origins.shownPath(selected->url.deletingLastPathComponent()));
    return size.isEmpty() ? TMMapAccessibleText::tr("in %1").arg(folder)
                          : TMMapAccessibleText::tr("%1, in %2").arg(size, folder);
  }

  QRect rect() const override {
    if (!isValid()) return {};
    const TMTreeMapWidget& map = *map_;
    const TMNodeState* selected = map.view().selected();
    const TMNodeState* shown = map.view().current();
    if (selected == nullptr || shown == nullptr || !(shown->size.width > 0) || !(shown->size.height > 0)) return {};
    // From the shown canvas (y up) to the widget, then to the screen.
    const TMRect& visible = shown->size;
    const TMRect& tile = selected->size;
    const double sx = map.width() / visible.width;
    const double sy = map.height() / visible.height;
    const QRectF local((tile.x - visible.x) * sx, map.height() - (tile.y - visible.y + tile.height) * sy,
                       tile.width * sx, tile.height * sy);
    return QRect(map.mapToGlobal(local.topLeft().toPoint()), local.size().toSize());
  }

 private:
  QPointer<TMTreeMapWidget> map_;
  TMFileURL url_;
};

class MapAccessible : public QAccessibleWidget {
 public:
  explicit MapAccessible(TMTreeMapWidget* map) : QAccessibleWidget(map, QAccessible::Graphic) {}
  ~MapAccessible() override { forgetTile(); }

  int childCount() const override { return tile() != nullptr ? 1 : 0; }
  QAccessibleInterface* child(int index) const override { return index == 0 ? tile() : nullptr; }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child == tile() ? 0 : -1;
  }
  QAccessibleInterface* focusChild() const override { return tile(); }
  QAccessibleInterface* childAt(int x, int y) const override {
    TileAccessible* selected = tile();
    return selected != nullptr && selected->rect().contains(x, y) ? selected : nullptr;
  }

  QString text(QAccessible::Text kind) const override {
    const QString own = QAccessibleWidget::text(kind);
    if (!own.isEmpty()) return own;
    auto* map = static_cast<TMTreeMapWidget*>(widget());
    if (kind == QAccessible::Name) return TMMapAccessibleText::tr("Map");
    if (kind == QAccessible::Description && map->view().current() != nullptr)
      return TMMapAccessibleText::tr("Treemap of %1: each file a rectangle as large as its size")
          .arg(displayText(map->view().current()->url.path()));
    return {};
  }

 private:
  // The interface of the tile selected now: the one made for it, or a new
  // one when the selection moved to another tile; null when none is.
  TileAccessible* tile() const {
    if (tile_ != nullptr && tile_->isValid()) return tile_;
    forgetTile();
    auto* map = static_cast<TMTreeMapWidget*>(widget());
    const TMNodeState* selected = map->view().selected();
    if (selected == nullptr) return nullptr;
    tile_ = new TileAccessible(map, selected->url);
    tileId_ = QAccessible::registerAccessibleInterface(tile_);
    return tile_;
  }
  void forgetTile() const {
    if (tile_ == nullptr) return;
    QAccessible::deleteAccessibleInterface(tileId_);
    tile_ = nullptr;
  }

  mutable TileAccessible* tile_ = nullptr;  // Qt's once registered
  mutable QAccessible::Id tileId_ = 0;
};

TMAccessibleEventSink eventSink = nullptr;

void tell(QAccessibleEvent& event) {
  if (eventSink != nullptr) {
    eventSink(&event);
  } else {
    QAccessible::updateAccessibility(&event);
  }
}

QAccessibleInterface* mapFactory(const QString& className, QObject* object) {
  if (className != QLatin1String("tilemora::TMTreeMapWidget") || !object || !object->isWidgetType()) return nullptr;
  return new MapAccessible(static_cast<TMTreeMapWidget*>(object));
}

}  // namespace

void installMapAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(mapFactory);
    return true;
  }();
  (void)installed;
}

void setAccessibleEventSink(TMAccessibleEventSink sink) { eventSink = sink; }

void announceMapSelection(TMTreeMapWidget& map) {
  if (!QAccessible::isActive() && eventSink == nullptr) return;  // nobody listens
  QAccessibleInterface* mapInterface = QAccessible::queryAccessibleInterface(&map);
  if (mapInterface == nullptr) return;
  if (mapInterface->childCount() > 0) {
    QAccessibleEvent focus(mapInterface->child(0), QAccessible::Focus);
    tell(focus);
    QAccessibleEvent selection(mapInterface->child(0), QAccessible::Selection);
    tell(selection);
  } else {
    QAccessibleEvent removed(&map, QAccessible::SelectionRemove);
    tell(removed);
  }
}

}  // namespace tilemora
