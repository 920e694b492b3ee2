// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The find bar over the map (Ctrl+F): a name to find as a part of a name
// (the default), with * and ? wildcards, or as a regular expression,
// without regard to case unless asked. It says what the pattern is and
// what was found; the window runs the searches.

#include <QRegularExpression>
#include <QWidget>
#include <functional>
#include <string_view>

class QAbstractButton;
class QToolButton;
class QLineEdit;

namespace tilemora {

class TMElidingLabel;

class TMFindBar : public QWidget {
  Q_OBJECT

 public:
  explicit TMFindBar(QWidget* parent = nullptr);

  // Shows the bar with its text selected, ready for typing.
  void open();
  QLineEdit& field() { return *field_; }
  QAbstractButton& regularExpression();
  QAbstractButton& matchCase();
  // What was found, or why nothing can be: cut short rather than narrowing
  // the field, whole in its tooltip.
  TMElidingLabel& status() { return *status_; }

  // The test of a name (raw bytes, matched through their displayed form)
  // for what the bar holds now; null for an empty or invalid pattern, the
  // bar then saying why. One thread at a time may use it.
  std::function<bool(std::string_view name)> matcher();
  // Says what was found.
  void showFound(qsizetype matches, uint64_t bytes);

 signals:
  // The pattern or a toggle changed.
  void patternChanged();
  void nextWanted();
  void previousWanted();
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* field_;
  QToolButton* regularExpression_;
  QToolButton* matchCase_;
  TMElidingLabel* status_;
};

}  // namespace tilemora
