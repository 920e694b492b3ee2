// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of every folder a scan could not read, each with why: opened
// from the status line's count. Its text can be selected and copied.

#include <QDialog>
#include <vector>

#include "core/scan/TMUnreadableFolder.h"

class QPlainTextEdit;

namespace tilemora {

class TMUnreadableFoldersDialog : public QDialog {
  Q_OBJECT

 public:
  TMUnreadableFoldersDialog(const std::vector<TMUnreadableFolder>& folders, QWidget* parent = nullptr);

  QString listedText() const;

 private:
  QPlainTextEdit* list_;
};

}  // namespace tilemora
