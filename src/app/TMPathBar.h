#pragma once
// Shows the path of the shown or selected node as a breadcrumb.

#include <QLabel>

#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMPathBar : public QLabel {
  Q_OBJECT

 public:
  explicit TMPathBar(QWidget* parent = nullptr);
  void setURL(const TMFileURL& url);

  // "/ › home › user", names decoded for display only.
  static QString breadcrumbOf(const TMFileURL& url);
};

}  // namespace tilemora
