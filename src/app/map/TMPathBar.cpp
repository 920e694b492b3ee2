// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPathBar.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>

#include "window/TMDisplayText.h"

namespace tilemora {

namespace {

const QString kSeparator = QStringLiteral(" \u203A ");
constexpr int kMargin = 6;

QString displayName(const std::string& component) {
  return displayText(component);
}

}  // namespace

TMPathBar::TMPathBar(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setAccessibleName(tr("Path"));
}

QSize TMPathBar::sizeHint() const { return {200, fontMetrics().height() + 6}; }

QString TMPathBar::breadcrumbOf(const TMFileURL& url) {
  QStringList names;
  for (const std::string& component : url.pathComponents()) names << displayName(component);
  return names.join(kSeparator);
}

void TMPathBar::setURL(const std::optional<TMFileURL>& url) {
  url_ = url;
  parts_ = url ? url->pathComponents() : std::vector<std::string>();
  shownNames_.clear();
  if (url) {
    for (const std::string& part : origins_.shownComponents(*url)) shownNames_ << displayName(part);
  }
  setToolTip(url ? displayText(origins_.shownPath(*url)) : QString());
  // What the bar draws, for assistive technology.
  setAccessibleDescription(shownNames_.join(kSeparator));
  update();
}

void TMPathBar::setOrigins(const TMScanOrigins& origins) {
  if (origins == origins_) return;
  origins_ = origins;
  setURL(url_);
}

std::vector<TMPathBar::Component> TMPathBar::layout() const {
  const QFontMetricsF metrics(font());
  std::vector<Component> components;
  double x = kMargin;
  for (const QString& text : shownNames_) {
    const double width = metrics.horizontalAdvance(text);
    components.push_back({text, x, width});
    x += width + metrics.horizontalAdvance(kSeparator);
  }
  const double overflow = components.empty() ? 0
                              : components.back().left + components.back().width + kMargin - width();
  if (overflow > 0) {
    for (Component& component : components) component.left -= overflow;
  }
  return components;
}

std::optional<TMFileURL> TMPathBar::componentAt(int x) const {
  const std::vector<Component> components = layout();
  for (size_t i = 0; i < components.size(); ++i) {
    if (x < components[i].left || x > components[i].left + components[i].width) continue;
    return TMFileURL::fromPathComponents({parts_.begin(), parts_.begin() + ptrdiff_t(i) + 1});
  }
  return std::nullopt;
}

void TMPathBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetricsF metrics(font());
  const double baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
  const std::vector<Component> components = layout();
  for (size_t i = 0; i < components.size(); ++i) {
    const Component& component = components[i];
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QPointF(component.left, baseline), component.text);
    if (i + 1 == components.size()) break;
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(QPointF(component.left + component.width, baseline), kSeparator);
  }
}

void TMPathBar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  std::optional<TMFileURL> clicked = componentAt(int(event->position().x()));
  if (clicked && onComponentDoubleClicked) onComponentDoubleClicked(*clicked);
}

}  // namespace tilemora
