// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Edit ▸ Preferences: how sizes are written, how hard links count, and
// whether a scan crosses into what is mounted inside its folder. OK keeps
// the choices (QSettings) and applies them: sizes at once in every window,
// the others from each window's next scan.

#include <QDialog>

#include "TMPreferences.h"

class QComboBox;

namespace tilemora {

class TMPreferencesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TMPreferencesDialog(QWidget* parent = nullptr);

  // The choices as the dialog shows them.
  TMPreferences chosen() const;

  QComboBox& unitsChoice() { return *units_; }
  QComboBox& hardLinksChoice() { return *hardLinks_; }
  QComboBox& mountPointsChoice() { return *mountPoints_; }

 signals:
  // The choices were kept and applied.
  void preferencesChanged();

 private:
  void keep();

  QComboBox* units_;
  QComboBox* hardLinks_;
  QComboBox* mountPoints_;
};

}  // namespace tilemora
