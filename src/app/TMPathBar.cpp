#include "TMPathBar.h"

#include <QFile>

namespace tilemora {

TMPathBar::TMPathBar(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setContentsMargins(6, 2, 6, 2);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QString TMPathBar::breadcrumbOf(const TMFileURL& url) {
  QStringList names;
  for (const std::string& component : url.pathComponents())
    names << QFile::decodeName(QByteArray::fromStdString(component));
  return names.join(QStringLiteral(" \u203A "));
}

void TMPathBar::setURL(const TMFileURL& url) {
  setText(breadcrumbOf(url));
  setToolTip(QFile::decodeName(QByteArray::fromStdString(url.path())));
}

}  // namespace tilemora
