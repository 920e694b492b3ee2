// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTrashQuestionBox.h"

#include <QCheckBox>
#include <QPushButton>

#include "window/TMDisplayText.h"
#include "window/TMPlainMessage.h"
#include "core/drawing/TMSizeFormatter.h"

namespace tilemora {

QString TMTrashQuestionBox::questionText(const TMTrashQuestion& question) {
  const QString name = displayText(question.item.lastPathComponent());
  const QString size = QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(question.bytes));
  if (question.items.size() > 1) {
    const QString files = tr("%Ln file(s)", nullptr, pluralCount(question.files));
    return tr("Move %Ln items (%1, %2) to the trash?", nullptr, pluralCount(question.items.size())).arg(size, files);
  }
  if (!question.folder) return tr("Move \u201C%1\u201D (%2) to the trash?").arg(name, size);
  const QString files = tr("%Ln file(s)", nullptr, pluralCount(question.files));
  return tr("Move \u201C%1\u201D (%2, %3) to the trash?").arg(name, size, files);
}

TMTrashQuestionBox::TMTrashQuestionBox(QWidget* window, const TMTrashQuestion& question)
    : QMessageBox(QMessageBox::Question, QStringLiteral("Tilemora"), questionText(question), QMessageBox::NoButton,
                  window) {
  setWindowModality(Qt::WindowModal);
  setAttribute(Qt::WA_DeleteOnClose);
  setInformativeText(question.scannedFolder         ? tr("This is the whole scanned folder. You can restore it from the trash.")
                     : question.items.size() > 1 ? tr("You can restore them from the trash.")
                                                 : tr("You can restore it from the trash."));
  // Which ones, by name, where the user can look.
  QStringList names;
  for (const TMFileURL& item : question.items) names << displayText(item.path());
  if (!names.isEmpty()) setDetailedText(names.join(u'\n'));
  move_ = addButton(tr("&Move to Trash"), QMessageBox::DestructiveRole);
  QPushButton* cancel = addButton(QMessageBox::Cancel);
  setDefaultButton(cancel);
  setEscapeButton(cancel);
  // The scanned folder itself is always asked about.
  if (!question.scannedFolder) setCheckBox(new QCheckBox(tr("Do not ask again")));
  makePlainText(*this);
}

TMTrashQuestionBox* TMTrashQuestionBox::ask(QWidget* window, const TMTrashQuestion& question,
                                            std::function<void(bool, bool)> answer) {
  auto* box = new TMTrashQuestionBox(window, question);
  connect(box, &QMessageBox::finished, box, [box, answer = std::move(answer)] {
    const bool stopAsking = box->checkBox() != nullptr && box->checkBox()->isChecked();
    answer(box->clickedButton() == box->move_, stopAsking);
  });
  box->open();
  return box;
}

}  // namespace tilemora
