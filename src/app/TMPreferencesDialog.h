// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Edit ▸ Preferences: how sizes are written, how hard links count,
// whether a scan crosses into what is mounted inside its folder, and how
// many threads it lists folders on, and what scans leave out. OK keeps the choices (QSettings) and
// applies them: sizes at once in every window, the others from each
// window's next scan.

#include <QDialog>

#include "TMPreferences.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace tilemora {

class TMPreferencesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TMPreferencesDialog(QWidget* parent = nullptr);

  // The choices as the dialog shows them.
  TMPreferences chosen() const;

  QComboBox& unitsChoice() { return *units_; }
  QComboBox& hardLinksChoice() { return *hardLinks_; }
  QSpinBox& threadsChoice() { return *threads_; }
  QComboBox& mountPointsChoice() { return *mountPoints_; }
  QCheckBox& askBeforeTrashChoice() { return *askBeforeTrash_; }
  QCheckBox& keepHistoryChoice() { return *keepHistory_; }
  QPlainTextEdit& exclusionPatternsChoice() { return *exclusionPatterns_; }
  QCheckBox& excludeCachesChoice() { return *excludeCaches_; }
  QCheckBox& skipVirtualFileSystemsChoice() { return *skipVirtualFileSystems_; }
  // Why the patterns cannot be kept (empty when they can).
  QString exclusionProblem() const;

 signals:
  // The choices were kept and applied.
  void preferencesChanged();

 private:
  void keep();
  // Tells at once what is wrong with the patterns; OK waits until nothing is.
  void checkPatterns();

  QComboBox* units_;
  QComboBox* hardLinks_;
  QComboBox* mountPoints_;
  QSpinBox* threads_;
  QCheckBox* askBeforeTrash_;
  QCheckBox* keepHistory_;
  QPlainTextEdit* exclusionPatterns_;
  QLabel* exclusionProblem_;
  QCheckBox* excludeCaches_;
  QCheckBox* skipVirtualFileSystems_;
  QPushButton* ok_;
};

}  // namespace tilemora
