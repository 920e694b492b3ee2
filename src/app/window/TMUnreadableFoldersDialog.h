// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of every folder a scan could not read, each with why: opened
// from the status line's count. Its text can be selected and copied.

#include <QDialog>
#include <functional>
#include <vector>

#include "core/scan/TMUnreadableFolder.h"

class QPlainTextEdit;

namespace tilemora {

class TMUnreadableFoldersDialog : public QDialog {
  Q_OBJECT

 public:
  // With `scanAsAdministrator`, a button offers to scan again as root.
  TMUnreadableFoldersDialog(const std::vector<TMUnreadableFolder>& folders, QWidget* parent = nullptr,
                            std::function<void()> scanAsAdministrator = {});

  QString listedText() const;

 private:
  QPlainTextEdit* list_;
};

}  // namespace tilemora
