// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMUnreadableFoldersDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "window/TMDisplayText.h"

namespace tilemora {

TMUnreadableFoldersDialog::TMUnreadableFoldersDialog(const std::vector<TMUnreadableFolder>& folders,
                                                     QWidget* parent, std::function<void()> scanAsAdministrator)
    : QDialog(parent) {
  setWindowTitle(tr("Folders That Could Not Be Read"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("%Ln folder(s) could not be read; they count as empty:", nullptr,
                                  pluralCount(folders.size()))));
  list_ = new QPlainTextEdit;
  list_->setReadOnly(true);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QStringList lines;
  lines.reserve(qsizetype(folders.size()));
  for (const TMUnreadableFolder& folder : folders)
    lines << tr("%1 \u2014 %2").arg(displayText(folder.path), QString::fromLocal8Bit(std::strerror(folder.error)));
  list_->setPlainText(lines.join(QLatin1Char('\n')));
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  if (scanAsAdministrator) {
    QPushButton* again = buttons->addButton(tr("Scan as &Administrator\u2026"), QDialogButtonBox::ActionRole);
    connect(again, &QPushButton::clicked, this, [this, scanAsAdministrator] {
      accept();
      scanAsAdministrator();
    });
  }
  layout->addWidget(buttons);
  resize(640, 360);
}

QString TMUnreadableFoldersDialog::listedText() const { return list_->toPlainText(); }

}  // namespace tilemora
