// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "window/TMDisplayText.h"
#include "window/TMElidingLabel.h"
#include "core/drawing/TMSizeFormatter.h"

namespace tilemora {

namespace {

// A name as the window shows it, into a buffer reused from name to name:
// most names are printable ASCII, copied as they are without allocating.
class NameText {
 public:
  QStringView of(std::string_view name) {
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (!plain) {
      buffer_ = displayText(name);
      return buffer_;
    }
    buffer_.resize(qsizetype(name.size()));
    QChar* out = buffer_.data();
    for (char c : name) *out++ = QLatin1Char(c);
    return buffer_;
  }

 private:
  QString buffer_;
};

}  // namespace

TMFindBar::TMFindBar(QWidget* parent)
    : QWidget(parent),
      field_(new QLineEdit),
      regularExpression_(new QToolButton),
      matchCase_(new QToolButton),
      status_(new TMElidingLabel) {
  // Over the map: a background of its own.
  setAutoFillBackground(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  field_->setPlaceholderText(tr("Find a name (* and ? for any characters)"));
  field_->setAccessibleName(tr("Find"));
  field_->setClearButtonEnabled(true);
  // Qt's clear button has no name of its own.
  for (QToolButton* clear : field_->findChildren<QToolButton*>()) clear->setAccessibleName(tr("Clear"));
  // Room for a pattern in every language, whatever the bar tells beside it.
  field_->setMinimumWidth(240);
  auto* previous = new QToolButton;
  previous->setArrowType(Qt::UpArrow);
  previous->setToolTip(tr("Previous match (Shift+F3)"));
  previous->setAccessibleName(tr("Previous match"));
  auto* next = new QToolButton;
  next->setArrowType(Qt::DownArrow);
  next->setToolTip(tr("Next match (Enter, F3)"));
  next->setAccessibleName(tr("Next match"));
  // Short as their signs, told whole in their tooltips and to assistive
  // technology; Alt and their letter toggle them.
  const auto toggle = [](QToolButton* button, const QString& sign, const QString& name, const QKeySequence& key) {
    button->setText(sign);
    button->setCheckable(true);
    button->setAccessibleName(name);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(name, key.toString(QKeySequence::NativeText)));
    button->setShortcut(key);
  };
  toggle(regularExpression_, QStringLiteral(".*"), tr("Regular expression"), QKeySequence(Qt::ALT | Qt::Key_X));
  toggle(matchCase_, QStringLiteral("Aa"), tr("Match case"), QKeySequence(Qt::ALT | Qt::Key_C));
  auto* close = new QToolButton;
  close->setText(QStringLiteral("\u2715"));
  close->setToolTip(tr("Close (Esc)"));
  close->setAccessibleName(tr("Close"));
  status_->setMinimumWidth(0);
  row->addWidget(field_, 2);
  row->addWidget(previous);
  row->addWidget(next);
  row->addWidget(regularExpression_);
  row->addWidget(matchCase_);
  row->addWidget(status_, 1);
  row->addWidget(close);
  searching_.setSingleShot(true);
  connect(&searching_, &QTimer::timeout, this, [this] { status_->setFullText(tr("Searching\u2026")); });
  connect(field_, &QLineEdit::textChanged, this, &TMFindBar::patternChanged);
  connect(regularExpression_, &QToolButton::toggled, this, &TMFindBar::patternChanged);
  connect(matchCase_, &QToolButton::toggled, this, &TMFindBar::patternChanged);
  connect(field_, &QLineEdit::returnPressed, this, &TMFindBar::nextWanted);
  field_->installEventFilter(this);
  connect(next, &QToolButton::clicked, this, &TMFindBar::nextWanted);
  connect(previous, &QToolButton::clicked, this, &TMFindBar::previousWanted);
  connect(close, &QToolButton::clicked, this, [this] {
    hide();
    emit closed();
  });
  hide();
}

QAbstractButton& TMFindBar::regularExpression() { return *regularExpression_; }

QAbstractButton& TMFindBar::matchCase() { return *matchCase_; }

void TMFindBar::open() {
  show();
  field_->setFocus();
  field_->selectAll();
}

bool TMFindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::ShortcutOverride) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      event->accept();  // delivered to the field as a key press
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMFindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    emit closed();
  } else if (event->key() == Qt::Key_F3) {
    emit(event->modifiers() & Qt::ShiftModifier ? previousWanted() : nextWanted());
  } else {
    QWidget::keyPressEvent(event);
  }
}

std::function<bool(std::string_view name)> TMFindBar::matcher() {
  const QString text = field_->text();
  status_->clear();
  searching_.stop();
  if (search_) search_->superseded = true;
  search_.reset();
  if (text.isEmpty()) return nullptr;
  const Qt::CaseSensitivity sensitivity = matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const bool wildcards = !regularExpression_->isChecked() && (text.contains(u'*') || text.contains(u'?'));
  auto search = std::make_shared<Search>();
  std::function<bool(std::string_view)> matches;
  if (!regularExpression_->isChecked() && !wildcards) {
    matches = [text, sensitivity, search, names = std::make_shared<NameText>()](std::string_view name) {
      return !search->superseded.load(std::memory_order_relaxed) && names->of(name).contains(text, sensitivity);
    };
  } else {
    // Wildcards match the whole name, as in a shell; a regular expression
    // anywhere in it. PCRE2 reads the limit at the pattern's start.
    const QString expression =
        wildcards ? QRegularExpression::wildcardToRegularExpression(text, QRegularExpression::DefaultWildcardConversion)
                  : text;
    auto pattern = std::make_shared<QRegularExpression>(
        QStringLiteral("(*LIMIT_MATCH=%1)").arg(kMatchLimit) + expression,
        sensitivity == Qt::CaseInsensitive ? QRegularExpression::CaseInsensitiveOption
                                           : QRegularExpression::NoPatternOption);
    if (!pattern->isValid()) {
      status_->setFullText(tr("Invalid pattern: %1").arg(pattern->errorString()));
      return nullptr;
    }
    pattern->optimize();
    matches = [pattern, search, names = std::make_shared<NameText>()](std::string_view name) {
      if (search->superseded.load(std::memory_order_relaxed)) return false;
      const QRegularExpressionMatch match = pattern->match(names->of(name));
      // A match that went past the limit is no valid one.
      if (!match.isValid()) search->tooCostly.fetch_add(1, std::memory_order_relaxed);
      return match.hasMatch();
    };
  }
  search_ = std::move(search);
  searching_.start(kSearchingDelay);
  return matches;
}

void TMFindBar::showFound(qsizetype matches, uint64_t bytes, std::optional<uint64_t> inFile) {
  searching_.stop();
  const QString size = QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(bytes));
  QString text = inFile && *inFile > uint64_t(matches)
                     ? tr("%Ln match(es) in the saved scan, %1 of them read: %2", nullptr, pluralCount(*inFile))
                           .arg(QLocale().toString(matches), size)
                     : tr("%Ln match(es), %1", nullptr, int(std::min<qsizetype>(matches, INT32_MAX))).arg(size);
  // Read once the search has posted its result: its count is complete.
  const uint64_t tooCostly = search_ ? search_->tooCostly.load(std::memory_order_relaxed) : 0;
  if (tooCostly > 0)
    text += tr("; the pattern was too costly for %Ln name(s), counted as not matching", nullptr, pluralCount(tooCostly));
  status_->setFullText(text);
}

}  // namespace tilemora
