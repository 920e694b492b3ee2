// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMapPane.h"

#include <QFile>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <cmath>

#include "colours/TMColourLegend.h"
#include "window/TMDisplayText.h"
#include "actions/TMFileManagerReveal.h"
#include "map/TMInputMapping.h"
#include "map/TMMapAccessibility.h"
#include "map/TMPathBar.h"
#include "window/TMPlainMessage.h"
#include "map/TMQtAnimationDriver.h"
#include "map/TMTreeMapWidget.h"
#include "core/platform/TMFreedesktopTrash.h"
#include "render/TMQtTextMeasurer.h"

namespace tilemora {

namespace {

// Scroll bars work in integers; the view's knobs are fractions.
constexpr int kScrollerRange = 10000;

void placeKnob(QScrollBar& scroller, double proportion, double value) {
  if (!std::isfinite(proportion)) proportion = 1;
  const int page = int(std::lround(std::clamp(proportion, 0.0, 1.0) * kScrollerRange));
  const int maximum = kScrollerRange - page;
  scroller.setRange(0, maximum);
  scroller.setPageStep(std::max(page, 1));
  scroller.setSingleStep(std::max(page / 20, 1));
  scroller.setValue(std::isfinite(value) ? int(std::lround(std::clamp(value, 0.0, 1.0) * maximum)) : 0);
}

}  // namespace

TMMapPane::TMMapPane(QWidget* parent)
    : QWidget(parent),
      view_(std::make_unique<TMTreeMapView>(*this, std::make_shared<TMQtTextMeasurer>(), 0, 0)),
      map_(new TMTreeMapWidget(*view_)),
      horizontalScroller_(new QScrollBar(Qt::Horizontal)),
      verticalScroller_(new QScrollBar(Qt::Vertical)),
      pathView_(new TMPathBar),
      animation_(new TMQtAnimationDriver(this)) {
  // The map as assistive technology sees it, told of each new selection.
  installMapAccessibility();
  connect(map_, &TMTreeMapWidget::selectionChanged, this, [this] { announceMapSelection(*map_); });
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(map_, 0, 0);
  grid->addWidget(verticalScroller_, 0, 1);
  grid->addWidget(horizontalScroller_, 1, 0);
  grid->addWidget(pathView_, 2, 0, 1, 2);
  legend_ = new TMColourLegend;
  grid->addWidget(legend_, 3, 0, 1, 2);
  grid->setRowStretch(0, 1);  // the map takes what the bars and the legend leave

  for (QScrollBar* scroller : {verticalScroller_, horizontalScroller_}) {
    placeKnob(*scroller, 1, 0);
    scroller->setEnabled(false);  // no knob before there is a map
    connect(scroller, &QScrollBar::actionTriggered, this,
            [this, scroller](int action) { scrollerActed(*scroller, action); });
  }
  pathView_->onComponentDoubleClicked = [this](const TMFileURL& url) { view_->pathDoubleClick(url); };
}

TMMapPane::~TMMapPane() {
  // No frame may reach the view once it is going.
  animation_->stop();
}

void TMMapPane::scrollerActed(QScrollBar& scroller, int action) {
  // During an action Qt has moved only the slider position; the value is
  // still the one before the hit. Steps are written back by the view (and
  // Qt then keeps them); a dragged knob keeps Qt's own position.
  const TMScrollerPart part = scrollerPartOf(action);
  const int position = part == TMScrollerPart::kKnob ? scroller.sliderPosition() : scroller.value();
  const double value = scroller.maximum() > 0 ? double(position) / scroller.maximum() : 0;
  if (&scroller == horizontalScroller_) {
    view_->scrollHorizontal(part, value);
  } else {
    view_->scrollVertical(part, value);
  }
}

void TMMapPane::requestRepaint() {
  // Without a map (before the first, after its root was deleted) the bars
  // show no knob.
  const bool shown = view_->current() != nullptr;
  horizontalScroller_->setEnabled(shown);
  verticalScroller_->setEnabled(shown);
  map_->update();
}

void TMMapPane::showPath(const std::optional<TMFileURL>& url) { pathView_->setURL(url); }

void TMMapPane::setWindowTitle(std::string_view title) {
  title_ = title;
  QString name = displayText(title);
  if (title != kProductName && !titleNote_.isEmpty()) name += QStringLiteral(" (%1)").arg(titleNote_);
  window()->setWindowTitle(title == kProductName ? name : name + QStringLiteral(" \u2014 Tilemora"));
}

void TMMapPane::setTitleNote(const QString& note) {
  if (note == titleNote_) return;
  titleNote_ = note;
  if (!title_.empty()) setWindowTitle(title_);
}

void TMMapPane::setScanOrigins(const TMScanOrigins& origins) {
  map_->setOrigins(origins);
  pathView_->setOrigins(origins);
}

void TMMapPane::setRepresentedURL(const std::optional<TMFileURL>& url) {
  window()->setWindowFilePath(url ? QFile::decodeName(QByteArray::fromStdString(url->path())) : QString());
}

void TMMapPane::setScrollerPositions(const TMScrollerPositions& positions) {
  horizontalScroller_->setEnabled(true);
  verticalScroller_->setEnabled(true);
  placeKnob(*horizontalScroller_, positions.horizontalProportion, positions.horizontalValue);
  placeKnob(*verticalScroller_, positions.verticalProportion, positions.verticalValue);
}

void TMMapPane::startAnimation(double seconds, std::function<void(float)> frame,
                               std::function<void()> end) {
  animation_->start(seconds, std::move(frame), std::move(end));
}

void TMMapPane::pushClosedHandCursor() { map_->setCursor(Qt::ClosedHandCursor); }

void TMMapPane::popCursor() { map_->unsetCursor(); }

void TMMapPane::revealInFileManager(const TMFileURL& item, const TMFileURL& container) {
  QPointer<TMMapPane> pane(this);
  tilemora::revealInFileManager(item, container, [pane, item] {
    if (!pane) return;
    pane->showWarning(tr("\u201C%1\u201D cannot be shown in a file manager.").arg(displayText(item.lastPathComponent())),
                      tr("No file manager answered, and no application opens its folder."));
  });
}

TMTrashResult TMMapPane::moveToTrash(const TMTrashRequest& request) {
  return TMFreedesktopTrash::forThisUser().moveToTrash(request);
}

void TMMapPane::showDeletionFailure(const TMFileURL& item, std::string_view reason) {
  showWarning(tr("\u201C%1\u201D could not be moved to the trash.").arg(displayText(item.lastPathComponent())),
              QString::fromUtf8(reason.data(), qsizetype(reason.size())));
}

void TMMapPane::showWarning(const QString& text, const QString& reason) {
  showPlainWarning(window(), QStringLiteral("Tilemora"), text, reason);
}

}  // namespace tilemora
