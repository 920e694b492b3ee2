// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// View ▸ File Types: the shown folder's files by category and, inside each,
// by extension, with total size, count and share, largest first. Choosing a
// row picks its files out on the map until the choice is cleared.

#include <QDialog>
#include <optional>
#include <string>

#include "core/drawing/TMFileTypes.h"

class QTreeWidget;
class QLabel;

namespace tilemora {

// What a row of the types window stands for: a category, or an extension of one.
struct TMFileTypeChoice {
  TMFileCategory category;
  std::optional<std::string> extension;  // none for the whole category
};

class TMFileTypesWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TMFileTypesWindow(QWidget* parent = nullptr);

  // The table for the files below `folder`, named `name`.
  void showStatistics(const TMTypeStatistics& statistics, const QString& name);
  // While the files below `name` are being counted, `share` of them so far.
  void showCounting(const QString& name, double share);
  QTreeWidget& table() { return *table_; }

 signals:
  // A row was chosen; nothing when the choice was cleared.
  void chosen(const std::optional<TMFileTypeChoice>& choice);

 private:
  QTreeWidget* table_;
  QLabel* title_;
};

// Whether `name` is of `choice`.
bool isOfChoice(std::string_view name, const TMFileTypeChoice& choice);

}  // namespace tilemora
