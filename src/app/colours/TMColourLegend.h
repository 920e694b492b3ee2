// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lines under the map that say what its colours mean: a swatch and words
// for each, when the files are coloured by something other than depth.
// Entries wrap to a further line rather than overlap; one wider than the
// whole map is cut short with "…", and the tooltip holds every entry whole.

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

namespace tilemora {

class TMFlowLayout;

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
  // Where each entry (swatch and words) is laid out, in the legend.
  std::vector<QRect> entryGeometries() const;

 private:
  TMFlowLayout* entries_;
};

}  // namespace tilemora
