// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows the path of the shown or selected node as a breadcrumb,
// "/ › home › user"; double-clicking a component asks to go to that folder.
// When the path is wider than the bar, its end stays in sight.

#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "core/platform/TMFileURL.h"
#include "import/TMScanOrigins.h"

namespace tilemora {

class TMPathBar : public QWidget {
  Q_OBJECT

 public:
  explicit TMPathBar(QWidget* parent = nullptr);
  // Shows `url`, or nothing.
  void setURL(const std::optional<TMFileURL>& url);
  const std::optional<TMFileURL>& url() const { return url_; }
  // Where the saved scans shown side by side came from: a scan's folder is
  // shown as its origin, and so is a path below it in the tooltip.
  void setOrigins(const TMScanOrigins& origins);

  // Called with the URL of the component double-clicked.
  std::function<void(const TMFileURL&)> onComponentDoubleClicked;

  // "/ › home › user", names decoded for display only.
  static QString breadcrumbOf(const TMFileURL& url);
  // The URL of the component at `x` (a bar coordinate), if any.
  std::optional<TMFileURL> componentAt(int x) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  struct Component {
    QString text;
    double left;
    double width;
  };
  // Lays the components out from the left, then shifts them so the last
  // one ends inside the bar.
  std::vector<Component> layout() const;

  std::optional<TMFileURL> url_;
  std::vector<std::string> parts_;
  QStringList shownNames_;  // parts_ as the bar draws them
  TMScanOrigins origins_;
};

}  // namespace tilemora
