// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question before a move to the trash: a window-modal box naming the
// item, its size and, for a folder, how many files it holds. "Move to
// Trash" (Alt+M) or "Cancel" (Esc, the default); for items inside the
// scanned folder a "Do not ask again" box as well.

#include <QMessageBox>
#include <functional>

#include "view/controller/TMWindowHost.h"

namespace tilemora {

class TMTrashQuestionBox : public QMessageBox {
  Q_OBJECT

 public:
  // Opens over `window` at once and returns; `answer` runs once when the
  // user has chosen (not if the window goes first).
  static TMTrashQuestionBox* ask(QWidget* window, const TMTrashQuestion& question,
                                 std::function<void(bool move, bool stopAsking)> answer);

  // "Move “photos” (12.3 GB, 4,512 files) to the trash?"
  static QString questionText(const TMTrashQuestion& question);

  QAbstractButton* moveButton() const { return move_; }

 private:
  TMTrashQuestionBox(QWidget* window, const TMTrashQuestion& question);

  QAbstractButton* move_;
};

}  // namespace tilemora
