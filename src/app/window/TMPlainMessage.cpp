// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPlainMessage.h"

#include <QLabel>

namespace tilemora {

void makePlainText(QMessageBox& box) {
  box.setTextFormat(Qt::PlainText);
  // The informative text has a label of its own, which guesses its format.
  for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
}

QMessageBox* showPlainWarning(QWidget* window, const QString& title, const QString& text,
                              const QString& informativeText) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
  box->setObjectName(QStringLiteral("warning"));
  if (!informativeText.isEmpty()) box->setInformativeText(informativeText);
  makePlainText(*box);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  return box;
}

}  // namespace tilemora
