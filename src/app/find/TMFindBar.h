// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The find bar over the map (Ctrl+F): a name to find as a part of a name
// (the default), with * and ? wildcards, or as a regular expression,
// without regard to case unless asked. It says what the pattern is and
// what was found; the window runs the searches.

#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
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
  // bar then saying why. One thread at a time may use it. A pattern's
  // match in one name is bounded: a name that would take longer counts as
  // not matching. A test made before the last one matches nothing more, so
  // that the search it serves, no longer wanted, ends quickly. Unless what
  // was found is told within kSearchingDelay, the bar says it is searching.
  std::function<bool(std::string_view name)> matcher();
  // Says what was found (and for how many names the pattern was too
  // costly). With `inFile`, the matches a saved scan's file holds: when
  // they are more, the bar says how many of them were read and found.
  void showFound(qsizetype matches, uint64_t bytes, std::optional<uint64_t> inFile = std::nullopt);

  static constexpr int kSearchingDelay = 200;  // ms
  // The most steps of the pattern's matcher one name may take.
  static constexpr int kMatchLimit = 100000;

 signals:
  // The pattern or a toggle changed.
  void patternChanged();
  void nextWanted();
  void previousWanted();
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Keeps Enter in the field for the next match: the window's Narrow
  // shares the key, and would take it while a folder is selected.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What the searches of one matcher share with the bar.
  struct Search {
    std::atomic<bool> superseded = false;
    std::atomic<uint64_t> tooCostly = 0;  // names the pattern gave up on
  };

  QLineEdit* field_;
  QToolButton* regularExpression_;
  QToolButton* matchCase_;
  TMElidingLabel* status_;
  std::shared_ptr<Search> search_;
  QTimer searching_;  // says "Searching…" when a search takes a while
};

}  // namespace tilemora
