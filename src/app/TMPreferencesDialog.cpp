// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMPreferencesDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "core/scan/TMExclusions.h"
#include "import/TMScanHistory.h"

namespace tilemora {

TMPreferencesDialog::TMPreferencesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Preferences"));
  units_ = new QComboBox;
  // Each choice as the map writes it.
  units_->addItem(tr("1 KB = 1,024 bytes: KB, MB, GB"), int(TMSizeUnits::Formatter));
  units_->addItem(tr("1 KiB = 1,024 bytes: KiB, MiB, GiB"), int(TMSizeUnits::Binary));
  units_->addItem(tr("1 kB = 1,000 bytes: kB, MB, GB"), int(TMSizeUnits::Decimal));
  hardLinks_ = new QComboBox;
  hardLinks_->addItem(tr("Counted at every link"), false);
  hardLinks_->addItem(tr("Counted once, as du counts them"), true);
  mountPoints_ = new QComboBox;
  mountPoints_->addItem(tr("Skipped"), false);
  mountPoints_->addItem(tr("Scanned too"), true);
  threads_ = new QSpinBox;
  threads_->setRange(0, int(TMScanOptions::kMostThreads));
  threads_->setSpecialValueText(tr("One per processor"));
  threads_->setToolTip(tr("More threads scan a fast disk sooner; the map is the same. "
                          "One may suit a spinning disk better."));
  askBeforeTrash_ = new QCheckBox(tr("Ask before moving an item to the trash"));
  askBeforeTrash_->setToolTip(tr("The scanned folder itself is always asked about."));

  keepHistory_ = new QCheckBox(tr("Keep every completed scan to compare with later"));
  keepHistory_->setToolTip(tr("The last %1 scans of each folder, at most 1 GB in all, readable by you alone, in %2")
                               .arg(TMScanHistory::kKeptPerFolder)
                               .arg(QFile::decodeName(QByteArray::fromStdString(TMScanHistory(TMScanHistory::defaultStateHome()).folder()))));

  exclusionPatterns_ = new QPlainTextEdit;
  exclusionPatterns_->setTabChangesFocus(true);
  exclusionPatterns_->setPlaceholderText(tr("One pattern a line: *.o, node_modules, /build, src/*/cache"));
  exclusionPatterns_->setToolTip(tr("Shell patterns. One without a “/” is matched against every name; "
                                    "one with a “/” against the path below the scanned folder. "
                                    "What they match is neither scanned nor counted."));
  exclusionPatterns_->setFixedHeight(exclusionPatterns_->fontMetrics().lineSpacing() * 5);
  exclusionProblem_ = new QLabel;
  exclusionProblem_->setWordWrap(true);
  exclusionProblem_->setForegroundRole(QPalette::Highlight);
  exclusionProblem_->hide();
  excludeCaches_ = new QCheckBox(tr("Skip folders tagged as caches (CACHEDIR.TAG)"));
  skipVirtualFileSystems_ = new QCheckBox(tr("Skip other file systems’ virtual folders (/proc, /sys, /dev)"));
  skipVirtualFileSystems_->setToolTip(tr("They are met only when folders mounted inside are scanned too."));

  const TMPreferences preferences = TMPreferences::load();
  units_->setCurrentIndex(units_->findData(int(preferences.units)));
  hardLinks_->setCurrentIndex(hardLinks_->findData(preferences.scanOptions.hardLinksOnce));
  mountPoints_->setCurrentIndex(mountPoints_->findData(preferences.scanOptions.crossMountPoints));
  threads_->setValue(int(preferences.scanOptions.threads));
  askBeforeTrash_->setChecked(preferences.askBeforeTrash);
  keepHistory_->setChecked(preferences.keepHistory);
  QStringList patterns;
  for (const std::string& pattern : preferences.exclusionPatterns) patterns << QString::fromStdString(pattern);
  exclusionPatterns_->setPlainText(patterns.join(u'\n'));
  excludeCaches_->setChecked(preferences.excludeCaches);
  skipVirtualFileSystems_->setChecked(preferences.skipVirtualFileSystems);

  auto* form = new QFormLayout(this);
  form->addRow(tr("&Sizes:"), units_);
  form->addRow(tr("&Hard-linked files:"), hardLinks_);
  form->addRow(tr("&Folders mounted inside:"), mountPoints_);
  form->addRow(tr("Scan &threads:"), threads_);
  form->addRow(tr("Trash:"), askBeforeTrash_);
  form->addRow(tr("History:"), keepHistory_);
  form->addRow(tr("&Exclude:"), exclusionPatterns_);
  form->addRow(QString(), exclusionProblem_);
  form->addRow(QString(), excludeCaches_);
  form->addRow(QString(), skipVirtualFileSystems_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  form->addRow(buttons);
  connect(exclusionPatterns_, &QPlainTextEdit::textChanged, this, &TMPreferencesDialog::checkPatterns);
  checkPatterns();
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    keep();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TMPreferences TMPreferencesDialog::chosen() const {
  TMPreferences preferences;
  preferences.units = TMSizeUnits(units_->currentData().toInt());
  preferences.scanOptions.hardLinksOnce = hardLinks_->currentData().toBool();
  preferences.scanOptions.crossMountPoints = mountPoints_->currentData().toBool();
  preferences.scanOptions.threads = unsigned(threads_->value());
  preferences.askBeforeTrash = askBeforeTrash_->isChecked();
  preferences.keepHistory = keepHistory_->isChecked();
  for (const QString& line : exclusionPatterns_->toPlainText().split(u'\n')) {
    if (!line.trimmed().isEmpty()) preferences.exclusionPatterns.push_back(line.toStdString());
  }
  preferences.excludeCaches = excludeCaches_->isChecked();
  preferences.skipVirtualFileSystems = skipVirtualFileSystems_->isChecked();
  preferences.updateExclusions();
  // Kept as they are: the View menu sets them.
  const TMPreferences kept = TMPreferences::load();
  preferences.showFreeSpace = kept.showFreeSpace;
  preferences.colourBy = kept.colourBy;
  preferences.sizeMeasure = kept.sizeMeasure;
  return preferences;
}

QString TMPreferencesDialog::exclusionProblem() const {
  const QStringList lines = exclusionPatterns_->toPlainText().split(u'\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].trimmed().isEmpty()) continue;
    if (auto problem = TMExclusions::patternProblem(lines[i].toStdString()))
      return tr("Line %1, \u201C%2\u201D: %3").arg(i + 1).arg(lines[i], QString::fromStdString(*problem));
  }
  return QString();
}

void TMPreferencesDialog::checkPatterns() {
  const QString problem = exclusionProblem();
  exclusionProblem_->setText(problem);
  exclusionProblem_->setVisible(!problem.isEmpty());
  ok_->setEnabled(problem.isEmpty());
}

void TMPreferencesDialog::keep() {
  const TMPreferences preferences = chosen();
  preferences.save();
  preferences.applySizeUnits();
  emit preferencesChanged();
}

}  // namespace tilemora
