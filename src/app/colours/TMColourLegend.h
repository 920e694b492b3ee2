// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A line under the map that says what its colours mean: a swatch and words
// for each, when the files are coloured by something other than depth.

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

class QHBoxLayout;

namespace tilemora {

class TMColourLegend : public QWidget {
  Q_OBJECT

 public:
  struct Entry {
    QColor colour;  // none (invalid): words alone
    QString text;
  };

  explicit TMColourLegend(QWidget* parent = nullptr);
  // Shows `entries`, or hides the legend when there are none.
  void showEntries(const std::vector<Entry>& entries);
  // The texts shown, in order (for tests and accessibility).
  QStringList texts() const;

 private:
  QHBoxLayout* row_;
};

}  // namespace tilemora
